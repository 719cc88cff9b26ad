// The grid's three popup menus with their captions exactly as written: no
// accelerator marks.
#pragma once

#include <QMenu>

namespace tabulon {

struct PopupMenus {
  QMenu* PopupMenu1;  // data cells
  QMenu* PopupMenu2;  // column headings
  QMenu* PopupMenu3;  // row headings
};

PopupMenus CreatePopupMenus(QWidget* parent);

}  // namespace tabulon
