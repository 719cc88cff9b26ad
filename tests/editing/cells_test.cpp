// The cell menu's copy, cut and delete on the selected block, and Ctrl+A.
#include "editing/cells.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tabulon {
namespace {

using Text = std::optional<std::string>;
const std::string kMark(ContinuationMark);

// Cells (3,2) "a", (4,2) "b", (3,3) " c ", the rest of the data area empty,
// and a mark and a typed heading that no command may touch.
Document Small(const GridSelection& selection) {
  Document doc;
  SetUpGrid(doc);
  doc.grid.SetCell(3, 2, "a");
  doc.grid.SetCell(4, 2, "b");
  doc.grid.SetCell(3, 3, " c ");
  doc.grid.SetCell(0, 2, kMark);
  doc.grid.SetCell(3, 0, "typed");
  doc.grid.SetSelection(selection);
  return doc;
}

TEST(CopyCells, RowsJoinedByTabsLinesEndedOnlyWhenThereAreSeveral) {
  const struct {
    GridSelection selection;
    Text text;
  } cases[] = {
      {{3, 2, 3, 2}, "a"},
      {{4, 2, 3, 2}, "a\tb"},  // corners either way round
      {{3, 2, 3, 3}, "a\r\n c \r\n"},
      {{3, 3, 4, 2}, "a\tb\r\n c \t\r\n"},
      {{5, 9, 7, 9}, "\t\t"},
      {{5, 9, 5, 9}, std::nullopt},  // one empty cell: the clipboard stays
      {{5, 9, 5, 10}, "\r\n\r\n"},
      {{0, 0, 3, 2}, "\t\r\n\ta\r\n"},  // only the data cells of the block
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CopyCells(Small(c.selection)), c.text)
        << c.selection.anchorCol << "," << c.selection.anchorRow;
  }
}

TEST(CutCells, GivesTheCopyAndEmptiesTheBlockOnly) {
  Document doc = Small({0, 0, 3, 3});
  EXPECT_EQ(CutCells(doc), "\t\r\n\ta\r\n\t c \r\n");
  EXPECT_EQ((std::vector<std::string>{doc.grid.Cell(3, 2), doc.grid.Cell(3, 3), doc.grid.Cell(4, 2),
                                      doc.grid.Cell(0, 2), doc.grid.Cell(3, 0)}),
            (std::vector<std::string>{"", "", "b", kMark, "typed"}));
}

TEST(DeleteCells, OnlyTheWholeDataAreaAsksAndClearsOnYes) {
  const struct {
    GridSelection selection;
    bool yes;
    int asked;
    const char* a;
    const char* b;
  } cases[] = {
      {{2, 1, 36, 256}, false, 1, "a", "b"},
      {{36, 256, 2, 1}, true, 1, "", ""},
      {{3, 2, 3, 3}, true, 0, "", "b"},
      {{0, 0, 36, 256}, true, 0, "", ""},  // takes in the headings: not exactly the data area
      {{2, 1, 36, 255}, true, 0, "", ""},
  };
  for (const auto& c : cases) {
    Document doc = Small(c.selection);
    doc.options.SetTitle("t");
    int asked = 0;
    DeleteCells(doc, [&](const char* q) {
      return ++asked && std::string(q) == kClearTableQuestion && c.yes;
    });
    const bool cleared = c.asked && c.yes;
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(doc.grid.Cell(3, 2) + "|" + doc.grid.Cell(4, 2), std::string(c.a) + "|" + c.b);
    EXPECT_EQ(doc.grid.Cell(0, 2), cleared ? "" : kMark);
    EXPECT_EQ(doc.grid.Cell(3, 0), cleared ? "b" : "typed");
    EXPECT_EQ(doc.options.Title(), cleared ? "" : "t");
  }
}

TEST(SelectAllCells, EveryDataCellAndTheRecordedCellStays) {
  Document doc = Small({3, 2, 3, 2});
  doc.CurCol = 7;
  SelectAllCells(doc);
  EXPECT_EQ(doc.grid.Selection(), (GridSelection{2, 1, 36, 256}));
  EXPECT_EQ(doc.CurCol, 7);
}

}  // namespace
}  // namespace tabulon
