// The grid's three popup menus, built from the command table, with their
// captions exactly as written: no accelerator marks.
#pragma once

#include <QMenu>
#include <optional>

#include "editing/grid_command.h"

namespace tabulon {

struct PopupMenus {
  QMenu* PopupMenu1;  // data cells
  QMenu* PopupMenu2;  // column headings
  QMenu* PopupMenu3;  // row headings
};

PopupMenus CreatePopupMenus(QWidget* parent);

// What a menu item runs: its command, with a date item's format and a
// fixed-text item's text (UTF-8). Null for a submenu's own action.
struct ItemCommand {
  GridCommand command;
  DateItem date;
  QString text;
};
std::optional<ItemCommand> CommandOf(const QAction* item);

}  // namespace tabulon
