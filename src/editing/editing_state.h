// What the grid's editing keeps beside the document: the popup menu the grid
// offers now, the held row or column with its kind, whether the cell menu's
// "貼り付け" is enabled, and the cell under the pointer whose hint shows. The
// recorded cell (CurCol, CurRow) lives in the document, which the reader
// shares.
#pragma once

#include <string>
#include <vector>

#include "editing/grid_menu.h"

namespace tabulon {

// A cut or copied grid row (its 37 cells, the mark and heading first) or
// column (its 257 cells, the heading first), kept apart from anything a cell
// paste uses.
struct HeldLine {
  enum class Kind { None, Row, Column };
  Kind kind = Kind::None;
  std::vector<std::string> cells;
};

struct GridEditState {
  GridMenu menu = GridMenu::Cells;  // the grid's menu: the cell menu at start
  HeldLine held;
  bool cellPasteEnabled = false;  // "貼り付け": the clipboard holds non-blank text
  int hintCol = 0;                // the cell whose hint shows
  int hintRow = 0;

  // "列貼り付け" and "行貼り付け": the one that matches the held line.
  bool ColumnPasteEnabled() const { return held.kind == HeldLine::Kind::Column; }
  bool RowPasteEnabled() const { return held.kind == HeldLine::Kind::Row; }
};

}  // namespace tabulon
