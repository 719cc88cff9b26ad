#include "editing/keys.h"

namespace tabulon {

KeyCommand GridKeyDown(Document& doc, GridCell current, GridKey key, ShiftState shift) {
  if (key == GridKey::Modifier) return KeyCommand::None;
  doc.CurCol = current.col;
  doc.CurRow = current.row;
  if (shift == kCtrl) {
    switch (key) {
      case GridKey::A:
        return KeyCommand::SelectAll;
      case GridKey::C:
        return KeyCommand::Copy;
      case GridKey::D:
        return KeyCommand::Delete;
      case GridKey::V:
        return KeyCommand::Paste;
      case GridKey::Z:
        return KeyCommand::Undo;
      case GridKey::Y:
        return KeyCommand::Redo;
      default:
        return KeyCommand::None;
    }
  }
  if (shift == (kCtrl | kShift) && key == GridKey::Z) return KeyCommand::Redo;
  return key == GridKey::Delete ? KeyCommand::Delete : KeyCommand::None;
}

}  // namespace tabulon
