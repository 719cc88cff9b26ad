// Every command of the grid as data: the items of its three popup menus, the
// keys that run commands and the double-clicks. The window builds the menus
// from MenuLines, each item carrying its command, and runs any command
// through the grid session (GridSession::Run).
#pragma once

#include <span>
#include <string_view>

#include "editing/editing_state.h"
#include "editing/grid_menu.h"
#include "editing/inserted_content.h"

namespace tabulon {

enum class GridCommand {
  // The cell menu (PopupMenu1).
  Cut,            // "切り取り"
  Copy,           // "コピー"
  Paste,          // "貼り付け"
  Delete,         // "削除"
  AlignLeft,      // "文字揃え" ▸ "左", in all three menus
  AlignCentre,    // "文字揃え" ▸ "中央（簡易）"
  AlignRight,     // "文字揃え" ▸ "右"
  InsertDate,     // "日付" ▸ a format: today, as the item's DateItem writes it
  InsertText,     // a fixed-text item: its caption
  NumberDown,     // "連番" ▸ "行"
  NumberAcross,   // "連番" ▸ "列"
  // The column menu (PopupMenu2).
  CutColumn,           // "列切り取り"
  CopyColumn,          // "列コピー"
  PasteColumn,         // "列貼り付け"
  DeleteColumn,        // "列削除"
  InsertColumnBefore,  // "列挿入" ▸ "この列の前"
  InsertColumnAfter,   // "列挿入" ▸ "この列の後"
  // The row menu (PopupMenu3).
  CutRow,           // "行切り取り"
  CopyRow,          // "行コピー"
  PasteRow,         // "行貼り付け"
  DeleteRow,        // "行削除"
  InsertRowBefore,  // "行の挿入" ▸ "この行の前"
  InsertRowAfter,   // "行の挿入" ▸ "この行の後"
  // Keys alone.
  SelectAll,  // Ctrl+A
  Undo,       // Ctrl+Z
  Redo,       // Ctrl+Y, Ctrl+Shift+Z
  // Double-clicks, by the cell the first click was released on.
  RenewHeadings,       // the corner: the default headings
  FitColumn,           // a column heading: its column fitted
  ToggleContinuation,  // left of a row: its continuation mark on or off
  ClearContinuations,  // left of the heading row: every mark gone
};

// One line of a popup menu: an item with its command (and, for a date, its
// format), the start of a submenu or its end, a separator, a run of
// fixed-text items, one per text, each inserting its caption, or a submenu
// of such items for each numeral set.
struct MenuLine {
  enum class Kind { Item, Submenu, End, Separator, Texts, NumeralSets };
  Kind kind;
  std::string_view caption;  // UTF-8, shown as written
  const char* name = "";     // the item's or submenu's name in the design
  GridCommand command = GridCommand::InsertText;
  DateItem date = DateItem::YYYYMMDD1;
  std::span<const std::string_view> texts = {};
  std::span<const NumeralSet> numeralSets = {};
};

// The lines of the cell, column or row menu, in order.
std::span<const MenuLine> MenuLines(GridMenu menu);

// Whether a command's item is enabled with the grid's editing state as it is:
// the paste items follow the clipboard and the held line; the rest always are.
bool CommandEnabled(const GridEditState& state, GridCommand command);

// The name every fixed-text item has in the design.
inline constexpr const char* kFixedTextName = "N62";

}  // namespace tabulon
