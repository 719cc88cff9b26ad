#include "editing/keys.h"

namespace tabulon {

std::optional<GridCommand> GridKeyDown(Document& doc, GridCell current, GridKey key,
                                       ShiftState shift) {
  if (key == GridKey::Modifier) return std::nullopt;
  doc.CurCol = current.col;
  doc.CurRow = current.row;
  if (shift == kCtrl) {
    switch (key) {
      case GridKey::A:
        return GridCommand::SelectAll;
      case GridKey::C:
        return GridCommand::Copy;
      case GridKey::D:
        return GridCommand::Delete;
      case GridKey::V:
        return GridCommand::Paste;
      case GridKey::Z:
        return GridCommand::Undo;
      case GridKey::Y:
        return GridCommand::Redo;
      default:
        return std::nullopt;
    }
  }
  if (shift == (kCtrl | kShift) && key == GridKey::Z) return GridCommand::Redo;
  return key == GridKey::Delete ? std::optional(GridCommand::Delete) : std::nullopt;
}

}  // namespace tabulon
