// What the mouse does on the grid, as rules on the document and the editing
// state. The grid session runs them (a press and its release as one undo
// step); the window's handlers only turn each event into the session's call,
// in the order the events arrive, and then show the document's selection.
//
// A cell comes from the grid's hit test: (col, row) of a cell; (-1, -1) for a
// point right of the last column or below the last row; column 0 or row 0 for
// a point left of or above the grid, reported only while a button is held.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/document.h"
#include "editing/editing_state.h"
#include "editing/grid_command.h"

namespace tabulon {

// The modifier keys and mouse buttons held at an event, and the double-click
// flag. Rules compare the whole set for equality.
enum ShiftFlag : unsigned {
  kShift = 1,
  kAlt = 2,
  kCtrl = 4,
  kLeftButton = 8,
  kRightButton = 16,
  kMiddleButton = 32,
  kDoubleClick = 64,
};
using ShiftState = unsigned;

struct GridCell {
  int col = -1;
  int row = -1;
};

// A press: records the pressed cell, selects by it (a Shift + left press
// extends from the cell recorded before), and a right press alone chooses the
// grid's menu; for the cell menu, "貼り付け" is enabled by the clipboard's
// text, which `clipboardText` reads only then. The window has closed an open
// cell editor first.
void GridMouseDown(Document& doc, GridEditState& state, GridCell pressed, ShiftState shift,
                   const std::function<std::string()>& clipboardText);

// A release: records the released cell; in a column heading, a release at a
// border snaps the width of the column it sizes. `x` is the pointer's place
// from the grid's left edge, as if no column were scrolled out of view. Gives
// the menu to open: the chosen one when the right button was released.
GridMenu GridMouseUp(Document& doc, const GridEditState& state, GridCell released, int x,
                     bool rightButton);

// Which border a release at `x` in the heading of column c is near: 0 its
// right border (column c is sized), 1 its left border (column c - 1), -1
// neither.
int ColEdgeOffset(const Document& doc, int x, int c);

// A move. With the left button alone, after a press on a data cell, selects
// the block from the pressed cell to the cell under the pointer (a heading,
// or a point beyond the cells, counting as the first data column or row);
// returns whether the selection was set. Otherwise it is a hover: see
// UpdateGridHint.
bool GridMouseMove(Document& doc, GridCell under, ShiftState shift);

// Hover: whether the pointer has entered another cell, so that the hint
// shown must go and the new cell's hint (GridHint) come after the delay.
bool UpdateGridHint(GridEditState& state, GridCell under);

// The hint of a heading cell (UTF-8, lines joined by CR LF); empty for data
// cells and points outside the cells.
const char* GridHint(GridCell cell);

// A double-click, on the cell its first click was released on (CurCol,
// CurRow): the corner renews the headings, a column heading fits its column,
// and a release left of the grid toggles a row's continuation mark (or,
// level with the heading row, clears them all). Nothing elsewhere.
std::optional<GridCommand> DoubleClickCommand(const Document& doc);
// Runs one of those four commands on the recorded cell.
void RunDoubleClickCommand(Document& doc, GridCommand command);
// Both at once.
void GridDoubleClick(Document& doc);

}  // namespace tabulon
