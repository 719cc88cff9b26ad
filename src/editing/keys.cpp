#include "editing/keys.h"

namespace tabulon {

KeyCommand GridKeyDown(Document& doc, GridCell current, GridKey key, ShiftState shift) {
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
      default:
        return KeyCommand::None;
    }
  }
  return key == GridKey::Delete ? KeyCommand::Delete : KeyCommand::None;
}

}  // namespace tabulon
