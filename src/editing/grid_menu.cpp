#include "editing/grid_menu.h"

namespace tabulon {

GridMenu MenuForPress(int col, int row, bool rightButtonAlone) {
  if (!rightButtonAlone) return GridMenu::Unchanged;
  if (row == 0) return col >= 2 ? GridMenu::Columns : GridMenu::None;
  if (col == 0 || col == 1) return GridMenu::Rows;
  return GridMenu::Cells;
}

}  // namespace tabulon
