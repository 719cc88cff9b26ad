#include "editing/grid_menu.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

TEST(GridMenu, RightPressChoosesByThePressedCell) {
  EXPECT_EQ(MenuForPress(2, 1, true), GridMenu::Cells);
  EXPECT_EQ(MenuForPress(36, 256, true), GridMenu::Cells);
  EXPECT_EQ(MenuForPress(-1, -1, true), GridMenu::Cells);  // beyond the last column
  EXPECT_EQ(MenuForPress(5, 0, true), GridMenu::Columns);
  EXPECT_EQ(MenuForPress(1, 7, true), GridMenu::Rows);
  EXPECT_EQ(MenuForPress(0, 7, true), GridMenu::Rows);  // left of the grid
  EXPECT_EQ(MenuForPress(1, 0, true), GridMenu::None);  // the corner cell
}

TEST(GridMenu, PressWithAModifierKeepsTheMenu) {
  EXPECT_EQ(MenuForPress(5, 0, false), GridMenu::Unchanged);
  EXPECT_EQ(MenuForPress(2, 1, false), GridMenu::Unchanged);
}

}  // namespace
}  // namespace tabulon
