// Undo and redo: every command that changes the document, over random grids,
// comes back byte for byte, and the history keeps to its bound.
#include "editing/history.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "editing/alignment.h"
#include "editing/cells.h"
#include "editing/inserted_content.h"
#include "editing/mouse.h"
#include "editing/rows_columns.h"
#include "files/text_file.h"
#include "support/text.h"
#include "table/paste.h"
#include "table/reader.h"

namespace tabulon {
namespace {

// Everything undo must give back: every cell, width and option.
struct State {
  std::vector<std::string> cells;
  std::vector<int> widths;
  OptionState::Values options;
  bool operator==(const State&) const = default;
};

State Of(const Document& doc) {
  State s{{}, {}, doc.options.Save()};
  for (int c = 0; c < kColCount; ++c) {
    s.widths.push_back(doc.grid.ColWidth(c));
    for (int r = 0; r < kRowCount; ++r) s.cells.push_back(doc.grid.Cell(c, r));
  }
  return s;
}

std::string Pick(std::mt19937& rng, const std::vector<std::string>& from) {
  return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
}

// A grid of random texts, a few marks and headings, random widths and
// options, a random recorded cell and selection.
void Randomise(std::mt19937& rng, Document& doc) {
  const std::vector<std::string> texts = {"",      "",       "a", "12", " x ", testing::Sj("あ"),
                                          "1,000", "abc def"};
  auto any = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
  SetUpGrid(doc);
  for (int n = any(0, 300); n > 0; --n)
    doc.grid.SetCell(any(2, kLastCol), any(1, 40), Pick(rng, texts));
  for (int n = any(0, 3); n > 0; --n)
    doc.grid.SetCell(0, any(1, 40), std::string(ContinuationMark));
  for (int n = any(0, 3); n > 0; --n) doc.grid.SetCell(any(2, kLastCol), 0, Pick(rng, texts));
  for (int n = any(0, 5); n > 0; --n) doc.grid.SetColWidth(any(2, kLastCol), 6 * any(1, 9) + 5);
  if (any(0, 1)) doc.options.SetChecked(Option::Ruled, false);
  if (any(0, 1)) doc.options.SetTitle("t");
  doc.CurCol = any(2, kLastCol);
  doc.CurRow = any(1, 45);
  doc.grid.SetSelection({any(2, kLastCol), any(1, 45), any(2, kLastCol), any(1, 45)});
}

using Command = std::function<void(Document&, GridEditState&)>;

const std::vector<std::pair<const char*, Command>>& Commands() {
  static const std::vector<std::pair<const char*, Command>> commands = {
      {"cell edit",
       [](Document& d, GridEditState&) { d.grid.SetCell(d.CurCol, d.CurRow, "typed"); }},
      {"paste block", [](Document& d, GridEditState&) { PasteText(d, "1\t22\r\nxyz\t\r\n"); }},
      {"paste lines", [](Document& d, GridEditState&) { PasteText(d, "p\r\nq\r\n"); }},
      {"paste value", [](Document& d, GridEditState&) { PasteText(d, "v"); }},
      {"paste table",
       [](Document& d, GridEditState&) {
         PasteText(d, "+-^-----==-^-+\r\n|a  |b  |\r\n+---+---+\r\n|1  |2  |\r\n+---+---+\r\n");
       }},
      {"paste wrapped", [](Document& d, GridEditState&) { PasteText(d, "' title\r\n'a\tb\r\n"); }},
      {"cut", [](Document& d, GridEditState&) { CutCells(d); }},
      {"delete",
       [](Document& d, GridEditState&) { DeleteCells(d, [](const char*) { return true; }); }},
      {"clear",
       [](Document& d, GridEditState&) {
         SelectAllCells(d);
         DeleteCells(d, [](const char*) { return true; });
       }},
      {"column cut and paste",
       [](Document& d, GridEditState& e) {
         d.CurRow = 0;
         CutColumn(d, e);
         d.CurCol = d.CurCol == kLastCol ? 2 : d.CurCol + 1;
         PasteHeldLine(d, e);
       }},
      {"row cut and paste",
       [](Document& d, GridEditState& e) {
         d.CurCol = 1;
         CutRow(d, e);
         d.CurRow = d.CurRow == kLastRow ? 1 : d.CurRow + 1;
         PasteHeldLine(d, e);
       }},
      {"column delete", [](Document& d, GridEditState&) { DeleteColumn(d); }},
      {"row delete", [](Document& d, GridEditState&) { DeleteRow(d); }},
      {"column insert", [](Document& d, GridEditState&) { InsertColumnBefore(d); }},
      {"row insert", [](Document& d, GridEditState&) { InsertRowAfter(d); }},
      {"column move", [](Document& d, GridEditState&) { d.grid.MoveColumn(d.CurCol, 2); }},
      {"row move", [](Document& d, GridEditState&) { d.grid.MoveRow(d.CurRow, 7); }},
      {"border snap",
       [](Document& d, GridEditState& e) {
         d.grid.SetColWidth(d.CurCol, 40);
         GridMouseUp(d, e, {d.CurCol, 0}, ColEdgeOffset(d, 0, d.CurCol), false);
       }},
      {"double-click fit",
       [](Document& d, GridEditState& e) {
         GridDoubleClick(d);
         GridMouseDown(d, e, {d.CurCol, 0}, kLeftButton | kDoubleClick, [] { return ""; });
       }},
      {"heading renewal",
       [](Document& d, GridEditState& e) {
         GridDoubleClick(d);
         GridMouseDown(d, e, {1, 0}, kLeftButton | kDoubleClick, [] { return ""; });
       }},
      {"align right", [](Document& d, GridEditState&) { AlignCells(d, Alignment::Right); }},
      {"insert", [](Document& d, GridEditState&) { InsertText(d, "OK"); }},
      {"number down", [](Document& d, GridEditState&) { NumberDown(d); }},
      {"number across", [](Document& d, GridEditState&) { NumberAcross(d); }},
      {"file load", [](Document& d, GridEditState&) { ReadLoadedText(d, "a\tb\r\nc\td\r\n"); }},
  };
  return commands;
}

TEST(History, EveryCommandUndoesAndRedoesByteForByte) {
  std::mt19937 rng(11);
  for (const auto& [name, command] : Commands()) {
    for (int round = 0; round < 12; ++round) {
      Document doc;
      Randomise(rng, doc);
      GridEditState editing;
      History history(doc);
      const State before = Of(doc);
      {
        HistoryStep step(history);
        command(doc, editing);
      }
      const State after = Of(doc);
      if (after == before) {
        EXPECT_EQ(history.Steps(), 0u) << name;
        continue;
      }
      ASSERT_TRUE(history.Undo()) << name;
      EXPECT_TRUE(Of(doc) == before) << name << ", round " << round;
      ASSERT_TRUE(history.Redo()) << name;
      EXPECT_TRUE(Of(doc) == after) << name << ", round " << round;
      EXPECT_FALSE(history.Redo());
    }
  }
}

TEST(History, KeepsItsBoundDropsRedoOnANewStepAndSelectsWhatChanged) {
  Document doc;
  SetUpGrid(doc);
  History history(doc, 3);
  for (int i = 0; i < 5; ++i) {
    HistoryStep step(history);
    doc.grid.SetCell(2 + i, 1, "x");
  }
  EXPECT_EQ(history.Steps(), 3u);
  { HistoryStep nothing(history); }  // a step that changes nothing is no step
  EXPECT_EQ(history.Steps(), 3u);
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(doc.grid.Cell(6, 1), "");
  EXPECT_EQ(doc.grid.Selection(), (GridSelection{6, 1, 6, 1}));
  {
    HistoryStep step(history);
    doc.grid.SetCell(9, 9, "y");
    doc.grid.SetCell(9, 9, "z");  // the first value before the step is kept
  }
  EXPECT_FALSE(history.Redo());  // nothing to redo, nothing done
  EXPECT_EQ(doc.grid.Cell(9, 9), "z");
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(doc.grid.Cell(9, 9), "");
  EXPECT_TRUE(history.Undo());
  EXPECT_TRUE(history.Undo());
  EXPECT_FALSE(history.Undo());  // the first two fell off the bound
  EXPECT_EQ(doc.grid.Cell(2, 1), "x");
  EXPECT_EQ(doc.grid.Cell(3, 1), "x");
  EXPECT_EQ(doc.grid.Cell(4, 1), "");
}

// An undo in the middle of a mouse gesture: what the gesture changes after
// it is a step of its own, which undo and redo take back and give again.
TEST(History, UndoInsideAnOpenStepLeavesTheRestOfTheStepAStep) {
  Document doc;
  SetUpGrid(doc);
  History history(doc);
  history.Begin();
  doc.grid.SetCell(2, 1, "drag");
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(doc.grid.Cell(2, 1), "");
  const int before = doc.grid.ColWidth(2);
  doc.grid.SetColWidth(2, before + 6);  // the snap at the release
  history.End();
  EXPECT_FALSE(history.Open());
  EXPECT_EQ(history.Steps(), 1u);
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(doc.grid.ColWidth(2), before);
  EXPECT_TRUE(history.Redo());
  EXPECT_EQ(doc.grid.ColWidth(2), before + 6);
}

}  // namespace
}  // namespace tabulon
