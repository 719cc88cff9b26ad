// The mouse rules of the grid: what a press selects, which menu a right
// press chooses, drags, border releases, double-clicks and hints.
#include "editing/mouse.h"

#include <gtest/gtest.h>

#include <string>

#include "support/text.h"

namespace tabulon {
namespace {

using testing::Sj;

struct Fixture {
  Document doc;
  GridEditState state;
  int clipboardReads = 0;
  std::string clipboard = "x";
  Fixture() { SetUpGrid(doc); }
  void Press(int col, int row, ShiftState shift) {
    GridMouseDown(doc, state, {col, row}, shift, [this] {
      ++clipboardReads;
      return clipboard;
    });
  }
};

GridSelection Block(int anchorCol, int anchorRow, int col, int row) {
  return {anchorCol, anchorRow, col, row};
}

TEST(GridMouse, APressSelectsByThePressedCell) {
  struct Case {
    const char* what;
    GridSelection before;
    GridCell pressed;
    ShiftState shift;
    GridSelection after;
  };
  const GridSelection block = Block(3, 4, 6, 9);
  const Case cases[] = {
      {"corner: every data cell", block, {1, 0}, kLeftButton, Block(2, 1, 36, 256)},
      {"row heading: its row", block, {1, 5}, kRightButton, Block(2, 5, 36, 5)},
      {"column heading: its column", block, {7, 0}, kLeftButton, Block(7, 1, 7, 256)},
      {"data cell outside the block", block, {10, 2}, kLeftButton, Block(10, 2, 10, 2)},
      {"right press inside the block keeps it", block, {5, 6}, kRightButton, block},
      {"left press inside the block keeps it", block, {6, 9}, kLeftButton, block},
      {"beyond the cells", block, {-1, -1}, kRightButton, block},
      {"shift with ctrl is a plain press",
       block,
       {10, 2},
       kShift | kCtrl | kLeftButton,
       Block(10, 2, 10, 2)},
      {"second press of a double-click",
       block,
       {1, 0},
       kLeftButton | kDoubleClick,
       Block(2, 1, 36, 256)},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.doc.grid.SetSelection(c.before);
    f.Press(c.pressed.col, c.pressed.row, c.shift);
    EXPECT_EQ(f.doc.grid.Selection(), c.after) << c.what;
    EXPECT_EQ(f.doc.CurCol, c.pressed.col) << c.what;
    EXPECT_EQ(f.doc.CurRow, c.pressed.row) << c.what;
  }
}

TEST(GridMouse, ShiftPressExtendsFromTheCellRecordedBefore) {
  Fixture f;
  f.Press(4, 3, kLeftButton);
  f.Press(6, 8, kShift | kLeftButton);
  EXPECT_EQ(f.doc.grid.Selection(), Block(4, 3, 6, 8));
  f.Press(2, 2, kShift | kLeftButton);  // from (6, 8), not from (4, 3)
  EXPECT_EQ(f.doc.grid.Selection(), Block(6, 8, 2, 2));
  // After a column heading press the block starts at the first data row.
  f.Press(7, 0, kLeftButton);
  f.Press(9, 4, kShift | kLeftButton);
  EXPECT_EQ(f.doc.grid.Selection(), Block(7, 1, 9, 4));
  // From a point beyond the cells it reaches the last column and row.
  f.doc.CurCol = f.doc.CurRow = -1;
  f.Press(30, 250, kShift | kLeftButton);
  EXPECT_EQ(f.doc.grid.Selection(), Block(36, 256, 30, 250));
  // A Shift + press on a heading records it and selects nothing.
  f.Press(1, 5, kShift | kLeftButton);
  EXPECT_EQ(f.doc.grid.Selection(), Block(36, 256, 30, 250));
  EXPECT_EQ(f.doc.CurCol, 1);
}

TEST(GridMouse, RightPressAloneChoosesTheMenuAndThePasteItem) {
  Fixture f;
  f.Press(5, 0, kRightButton);
  EXPECT_EQ(f.state.menu, GridMenu::Columns);
  f.Press(1, 0, kRightButton);
  EXPECT_EQ(f.state.menu, GridMenu::None);
  f.Press(3, 3, kRightButton | kCtrl);  // a modifier keeps the menu
  EXPECT_EQ(f.state.menu, GridMenu::None);
  EXPECT_EQ(f.clipboardReads, 0);  // read only for the cell menu
  for (const auto& [text, enabled] : {std::pair<std::string, bool>{"", false},
                                      {" \t\r\n\x01", false},
                                      {"  a\r\n", true},
                                      {Sj("　"), true}}) {  // a full-width blank is text
    f.clipboard = text;
    f.Press(3, 3, kRightButton);
    EXPECT_EQ(f.state.menu, GridMenu::Cells);
    EXPECT_EQ(f.state.cellPasteEnabled, enabled) << text;
  }
  EXPECT_EQ(f.clipboardReads, 4);
}

TEST(GridMouse, TheChosenMenuOpensOnTheRightRelease) {
  Fixture f;
  f.Press(1, 9, kRightButton);
  EXPECT_EQ(GridMouseUp(f.doc, f.state, {1, 9}, 10, false), GridMenu::None);
  EXPECT_EQ(GridMouseUp(f.doc, f.state, {1, 9}, 10, true), GridMenu::Rows);
  EXPECT_EQ(f.doc.CurRow, 9);
}

TEST(GridMouse, DragSelectsFromThePressedCellAndEdgesCountAsTheFirstDataCell) {
  Fixture f;
  f.Press(5, 5, kLeftButton);
  EXPECT_TRUE(GridMouseMove(f.doc, {8, 9}, kLeftButton));
  EXPECT_EQ(f.doc.grid.Selection(), Block(5, 5, 8, 9));
  GridMouseMove(f.doc, {0, 3}, kLeftButton);  // left of the grid
  EXPECT_EQ(f.doc.grid.Selection(), Block(5, 5, 2, 3));
  GridMouseMove(f.doc, {-1, -1}, kLeftButton);
  EXPECT_EQ(f.doc.grid.Selection(), Block(5, 5, 2, 1));
  EXPECT_FALSE(GridMouseMove(f.doc, {8, 9}, kLeftButton | kShift));
  f.Press(5, 0, kLeftButton);  // a heading press moves or sizes the column instead
  EXPECT_FALSE(GridMouseMove(f.doc, {8, 9}, kLeftButton));
  EXPECT_EQ(f.doc.grid.Selection(), Block(5, 1, 5, 256));
}

TEST(GridMouse, AReleaseAtAColumnBorderSnapsTheWidthOfTheColumnItSizes) {
  Fixture f;
  f.doc.grid.SetColWidth(2, 17);
  f.doc.grid.SetColWidth(3, 50);
  // Column 3's right grid line: 0 (column 0) + 24 + 18 + 51 = 93.
  EXPECT_EQ(ColEdgeOffset(f.doc, 89, 3), 0);
  EXPECT_EQ(ColEdgeOffset(f.doc, 88, 3), -1);
  EXPECT_EQ(ColEdgeOffset(f.doc, 46, 3), 1);
  EXPECT_EQ(ColEdgeOffset(f.doc, 47, 3), -1);
  GridMouseUp(f.doc, f.state, {3, 0}, 60, false);  // the middle: no change
  EXPECT_EQ(f.doc.grid.ColWidth(3), 50);
  GridMouseUp(f.doc, f.state, {3, 0}, 90, false);
  EXPECT_EQ(f.doc.grid.ColWidth(3), 53);
  f.doc.grid.SetColWidth(2, 30);
  GridMouseUp(f.doc, f.state, {3, 0}, 45, false);  // column 3's left edge sizes column 2
  EXPECT_EQ(f.doc.grid.ColWidth(2), 35);
  GridMouseUp(f.doc, f.state, {3, 5}, 90, false);  // not in the heading row
  EXPECT_EQ(f.doc.grid.ColWidth(3), 53);
}

TEST(GridMouse, DoubleClickActsOnTheCellOfTheFirstRelease) {
  Fixture f;
  Grid& g = f.doc.grid;
  g.SetCell(4, 0, "price");
  g.SetCell(1, 3, "x");
  g.SetCell(4, 2, "abcdefgh");
  g.SetColWidth(4, 100);
  const auto doubleClick = [&](int col, int row) {
    f.doc.CurCol = col;
    f.doc.CurRow = row;
    GridDoubleClick(f.doc);
  };
  doubleClick(4, 0);
  EXPECT_EQ(g.ColWidth(4), 53);
  doubleClick(0, 5);
  EXPECT_EQ(g.Cell(0, 5), ContinuationMark);
  doubleClick(0, 1);  // row 1 takes no mark
  EXPECT_EQ(g.Cell(0, 1), "");
  doubleClick(0, 7);
  doubleClick(0, 5);
  EXPECT_EQ(g.Cell(0, 5), "");
  EXPECT_EQ(g.Cell(0, 7), ContinuationMark);
  doubleClick(0, 0);
  EXPECT_EQ(g.Cell(0, 7), "");
  g.Select(9, 9);
  doubleClick(1, 0);
  EXPECT_EQ(g.Cell(4, 0), "c");
  EXPECT_EQ(g.Cell(1, 3), "  3");
  EXPECT_EQ(g.Selection(), Block(2, 1, 2, 1));
}

TEST(GridMouse, TheHintChangesOnlyWhenThePointerEntersAnotherCell) {
  Fixture f;
  EXPECT_TRUE(UpdateGridHint(f.state, {1, 0}));
  EXPECT_FALSE(UpdateGridHint(f.state, {1, 0}));
  EXPECT_TRUE(UpdateGridHint(f.state, {-1, -1}));
  EXPECT_EQ(std::string(GridHint({1, 0})).rfind("・クリックで全セル選択\r\n", 0), 0u);
  EXPECT_NE(std::string(GridHint({9, 0})).find("列メニュー"), std::string::npos);
  EXPECT_NE(std::string(GridHint({1, 9})).find("行メニュー"), std::string::npos);
  EXPECT_EQ(std::string(GridHint({9, 9})), "");
  EXPECT_EQ(std::string(GridHint({-1, -1})), "");
}

}  // namespace
}  // namespace tabulon
