// The grid's keys while no cell is being edited: the recorded cell follows
// the grid's current cell, and a few keys run cell commands.
#pragma once

#include <optional>

#include "document/document.h"
#include "editing/grid_command.h"
#include "editing/mouse.h"

namespace tabulon {

// Modifier: Shift, Ctrl, Alt or a like key pressed on its own.
enum class GridKey { A, C, D, V, Y, Z, Delete, Modifier, Other };

// A key press on the grid, before the grid moves its current cell
// (`current`): records that cell, and gives the command the key runs. Ctrl
// alone with A, C, D or V: select all, "コピー", "削除", "貼り付け"; Delete
// with any modifiers but Ctrl alone: "削除". Ctrl+Z undoes; Ctrl+Y and
// Ctrl+Shift+Z redo.
std::optional<GridCommand> GridKeyDown(Document& doc, GridCell current, GridKey key,
                                       ShiftState shift);

}  // namespace tabulon
