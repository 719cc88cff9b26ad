// Which popup menu the grid offers, decided from the pressed cell and the
// mouse state, so the rule needs no window to be tested.
#pragma once

namespace tabulon {

enum class GridMenu {
  Unchanged,  // keep the menu chosen before
  None,       // the corner cell offers no menu
  Cells,      // PopupMenu1: data cells
  Columns,    // PopupMenu2: column headings
  Rows,       // PopupMenu3: row headings
};

// A right press with no modifier key chooses the menu by the cell under it;
// (-1, -1) is a point beyond the cells. Any other press keeps the menu.
GridMenu MenuForPress(int col, int row, bool rightButtonAlone);

}  // namespace tabulon
