// The session: every command is one undo step that undo takes back whole,
// and each says what the window must do (repaint, clipboard, the editor's
// own command); questions are asked through the platform.
#include "editing/grid_session.h"

#include <gtest/gtest.h>

#include <string>

#include "document/codec.h"
#include "files/text_file.h"
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
  EXPECT_EQ(doc.grid.Cell(2, 1), Utf8ToCp932("令和08年12月08日"));
}

}  // namespace
}  // namespace tabulon
