// The session: every command is one undo step that undo takes back whole,
// and each says what the window must do (repaint, clipboard, the editor's
// own command); questions are asked through the platform.
#include "editing/grid_session.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "document/codec.h"
#include "files/text_file.h"
#include "support/text.h"
#include "table/writer.h"

namespace tabulon {
namespace {

using Repaint = Outcome::Repaint;
using Action = Outcome::EditorAction;
using C = GridCommand;

struct Fixture {
  bool answer = true;
  int asked = 0;
  std::string clipboard = "x\ty";
  GridSession session{{.ask = [this](const char*) { return ++asked, answer; },
                       .pasteText = [this] { return clipboard; },
                       .clipboardText = [this] { return clipboard; },
                       .today = [] { return CivilDate{2026, 12, 8}; },
                       .eraOf = [](CivilDate) { return std::optional<EraYear>{{"令和", 8}}; }}};

  Fixture() {
    Grid& g = session.document().grid;
    for (int c = 2; c <= 5; ++c) {
      for (int r = 1; r <= 4; ++r) g.SetCell(c, r, std::to_string(c * 10 + r));
    }
    g.SetSelection({3, 2, 4, 3});
    session.document().CurCol = 3;
    session.document().CurRow = 2;
  }

  // Every cell and width, to compare a document before and after.
  std::string Snapshot() {
    const Document& doc = session.document();
    std::string all;
    for (int c = 0; c <= kLastCol; ++c) {
      all += std::to_string(doc.grid.ColWidth(c)) + '|';
      for (int r = 0; r <= kLastRow; ++r) all += doc.grid.Cell(c, r) + '|';
    }
    return all;
  }
};

TEST(GridSession, EveryCommandIsOneStepThatUndoTakesBackWhole) {
  for (int c = 0; c <= static_cast<int>(C::ClearContinuations); ++c) {
    const auto command = static_cast<C>(c);
    if (command == C::Undo || command == C::Redo) continue;
    Fixture f;
    f.session.editing().held = {HeldLine::Kind::Column, std::vector<std::string>(257, "h")};
    const std::string before = f.Snapshot();
    f.session.Run(command, {DateItem::GGMMDD1, "済"});
    const std::string after = f.Snapshot();
    ASSERT_LE(f.session.history().Steps(), 1u) << c;
    EXPECT_FALSE(f.session.history().Open()) << c;
    if (after == before) continue;
    EXPECT_EQ(f.session.Run(C::Undo).repaint, Repaint::All) << c;
    EXPECT_EQ(f.Snapshot(), before) << c;
    EXPECT_EQ(f.session.Run(C::Redo).repaint, Repaint::All) << c;
    EXPECT_EQ(f.Snapshot(), after) << c;
  }
}

TEST(GridSession, OutcomesSayWhatTheWindowDoes) {
  struct Case {
    const char* name;
    C command;
    bool editorOpen;
    bool answer;
    Repaint repaint;
    std::optional<std::string> clipboard;
    Action editor;
    bool changes;
  };
  const Case cases[] = {
      {"copy", C::Copy, false, true, Repaint::None, "32\t42\r\n33\t43\r\n", Action::None, false},
      {"cut", C::Cut, false, true, Repaint::Cells, "32\t42\r\n33\t43\r\n", Action::None, true},
      {"paste a value", C::Paste, false, true, Repaint::Cells, {}, Action::None, true},
      {"delete", C::Delete, false, true, Repaint::Cells, {}, Action::None, true},
      {"insert, No", C::InsertColumnBefore, false, false, Repaint::Cells, {}, Action::None, false},
      {"insert, Yes", C::InsertRowAfter, false, true, Repaint::Cells, {}, Action::None, true},
      {"copy in the editor", C::Copy, true, true, Repaint::None, {}, Action::Copy, false},
      {"cut in the editor", C::Cut, true, true, Repaint::None, {}, Action::Cut, false},
      {"paste in the editor", C::Paste, true, true, Repaint::None, {}, Action::Paste, false},
      {"delete in the editor", C::Delete, true, true, Repaint::None, {}, Action::Delete, false},
      {"number, editor open", C::NumberDown, true, true, Repaint::Cells, {}, Action::None, true},
      {"nothing to undo", C::Undo, false, true, Repaint::None, {}, Action::None, false},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.answer = c.answer;
    const std::string before = f.Snapshot();
    const Outcome outcome = f.session.Run(c.command, {DateItem::YYYYMMDD1, "", c.editorOpen});
    EXPECT_EQ(outcome.repaint, c.repaint) << c.name;
    EXPECT_EQ(outcome.clipboard, c.clipboard) << c.name;
    EXPECT_EQ(outcome.editor, c.editor) << c.name;
    EXPECT_EQ(f.Snapshot() != before, c.changes) << c.name;
    EXPECT_EQ(f.session.history().Steps(), c.changes ? 1u : 0u) << c.name;
    const bool copies = c.command == C::Copy || c.command == C::Cut;
    EXPECT_EQ(f.session.editing().cellPasteEnabled, copies) << c.name;
  }
}

TEST(GridSession, ReadsRepaintEverything) {
  Fixture f;
  // A whole table pasted, or every cell cleared on Yes, is shown as a read.
  f.clipboard = JoinLinesCrLf(WriteTable(f.session.document()).lines);
  f.session.document().grid.SetCell(2, 1, "ab");
  EXPECT_EQ(f.session.Run(C::Paste).repaint, Repaint::All);
  EXPECT_EQ(f.session.document().grid.Cell(2, 1), "21");
  f.session.Run(C::SelectAll);
  EXPECT_EQ(f.session.Run(C::Delete).repaint, Repaint::All);
  EXPECT_EQ(f.asked, 1);
  EXPECT_EQ(f.session.document().grid.Cell(2, 1), "");
  // A loaded file goes to the clipboard too, and is one step.
  const std::size_t steps = f.session.history().Steps();
  const Outcome loaded = f.session.Load("p\tq\r\n");
  EXPECT_EQ(loaded.repaint, Repaint::All);
  EXPECT_EQ(loaded.clipboard, "p\tq\r\n");
  EXPECT_EQ(f.session.history().Steps(), steps + 1);
  EXPECT_EQ(f.session.Start("s\tt", true).repaint, Repaint::All);
  EXPECT_EQ(f.session.document().grid.Cell(3, 1), "t");
}

TEST(GridSession, AGestureWithItsEditAndDoubleClickIsOneStep) {
  Fixture f;
  Document& doc = f.session.document();
  f.session.BeginGesture();
  f.session.SetCell(2, 1, "committed by the press");
  f.session.Press({3, 0}, kLeftButton, false);
  f.session.Release({3, 0}, 0, false);
  // The double-click acts on the cell the first click was released on.
  const Outcome heading = f.session.Press({3, 0}, kLeftButton | kDoubleClick, true);
  EXPECT_EQ(heading.repaint, Repaint::Cells);
  EXPECT_EQ(heading.editor, Action::None);
  f.session.EndGesture();
  EXPECT_EQ(doc.grid.ColWidth(3), 6 * 2 + 5);  // fitted to "31".."34"
  EXPECT_EQ(f.session.history().Steps(), 1u);
  // A double-click on a data cell opens its editor.
  f.session.BeginGesture();
  EXPECT_EQ(f.session.Press({2, 2}, kLeftButton | kDoubleClick, true).editor, Action::Open);
  f.session.EndGesture();
  f.session.Run(C::Undo);
  EXPECT_EQ(doc.grid.Cell(2, 1), "21");
  // A date comes from the platform's today and era.
  doc.CurCol = 2;
  doc.CurRow = 1;
  f.session.Run(C::InsertDate, {DateItem::GGMMDD1, "", false});
  EXPECT_EQ(doc.grid.Cell(2, 1), testing::Sj("令和08年12月08日"));
}

// The view's own selection: its block, the anchor the corner opposite the
// focused cell.
TEST(GridSession, ViewSelectionAnchorsOppositeTheFocusedCell) {
  const struct {
    CellBlock block;
    GridCell focused;
    GridSelection selection;
  } cases[] = {
      {{3, 2, 5, 4}, {5, 4}, {3, 2, 5, 4}},  // dragged down and right
      {{3, 2, 5, 4}, {3, 2}, {5, 4, 3, 2}},  // up and left
      {{3, 2, 5, 4}, {3, 4}, {5, 2, 3, 4}},  // down and left
      {{3, 2, 5, 4}, {5, 2}, {3, 4, 5, 2}},  // up and right
      {{7, 9, 7, 9}, {7, 9}, {7, 9, 7, 9}},  // one cell
      {{2, 1, 36, 256}, {36, 256}, {2, 1, 36, 256}},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.session.SelectBlock(c.block, c.focused);
    EXPECT_EQ(f.session.document().grid.Selection(), c.selection)
        << c.focused.col << "," << c.focused.row;
    EXPECT_EQ(f.session.history().Steps(), 0u);
  }
  // A block reaching outside the grid leaves the selection as it was.
  Fixture f;
  f.session.SelectBlock({3, 2, kColCount, 4}, {3, 2});
  EXPECT_EQ(f.session.document().grid.Selection(), (GridSelection{3, 2, 4, 3}));
}

// Dragged borders and moved headings change the document inside the
// gesture that drags them, and undo takes the gesture back whole.
TEST(GridSession, DraggedWidthsAndMovedHeadingsAreTheGesturesStep) {
  Fixture f;
  Document& doc = f.session.document();
  const std::string before = f.Snapshot();
  const int rowHeadings = doc.grid.ColWidth(1);
  f.session.BeginGesture();
  f.session.DragWidth(3, 100);
  f.session.DragWidth(3, 41);
  f.session.DragWidth(1, -30);  // dragged past the left edge
  f.session.DragWidth(kColCount, 50);
  f.session.EndGesture();
  EXPECT_EQ(doc.grid.ColWidth(3), 41);
  EXPECT_EQ(doc.grid.ColWidth(1), 0);
  EXPECT_EQ(f.session.history().Steps(), 1u);
  f.session.Run(C::Undo);
  EXPECT_EQ(doc.grid.ColWidth(1), rowHeadings);
  EXPECT_EQ(f.Snapshot(), before);

  const int width2 = doc.grid.ColWidth(2);
  f.session.BeginGesture();
  f.session.MoveColumn(2, 4);  // column 2's cells, heading and width to 4
  f.session.MoveRow(1, 3);     // row 1 to row 3
  f.session.EndGesture();
  EXPECT_EQ(doc.grid.Cell(4, 3), "21");
  EXPECT_EQ(doc.grid.Cell(4, 0), "a");
  EXPECT_EQ(doc.grid.Cell(2, 0), "b");
  EXPECT_EQ(doc.grid.Cell(2, 1), "32");
  EXPECT_EQ(doc.grid.ColWidth(4), width2);
  EXPECT_EQ(doc.grid.Cell(1, 3), "  1");  // the row heading goes with its row
  EXPECT_EQ(f.session.history().Steps(), 1u);
  f.session.Run(C::Undo);
  EXPECT_EQ(f.Snapshot(), before);

  // Only data columns and rows move: never the marks, the row headings or
  // the heading row, and nothing outside the grid.
  const std::pair<int, int> columns[] = {{1, 3}, {3, 1}, {0, 5}, {2, kColCount}, {-1, 2}};
  const std::pair<int, int> rows[] = {{0, 2}, {2, 0}, {-1, 3}, {kLastRow, kRowCount}};
  for (const auto& [from, to] : columns) f.session.MoveColumn(from, to);
  for (const auto& [from, to] : rows) f.session.MoveRow(from, to);
  EXPECT_EQ(f.Snapshot(), before);
}

}  // namespace
}  // namespace tabulon
