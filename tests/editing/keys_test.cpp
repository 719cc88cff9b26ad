// The grid's keys: the recorded cell follows the current cell before the
// key, and only the exact modifier sets run the cell commands.
#include "editing/keys.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

TEST(GridKeys, ExactlyCtrlRunsLetterCommandsAndDeleteRunsWithAnyButCtrlAlone) {
  const struct {
    GridKey key;
    ShiftState shift;
    KeyCommand command;
  } cases[] = {
      {GridKey::A, kCtrl, KeyCommand::SelectAll},
      {GridKey::C, kCtrl, KeyCommand::Copy},
      {GridKey::D, kCtrl, KeyCommand::Delete},
      {GridKey::V, kCtrl, KeyCommand::Paste},
      {GridKey::Other, kCtrl, KeyCommand::None},
      {GridKey::C, kCtrl | kShift, KeyCommand::None},
      {GridKey::C, 0, KeyCommand::None},
      {GridKey::V, kCtrl | kAlt, KeyCommand::None},
      {GridKey::Delete, 0, KeyCommand::Delete},
      {GridKey::Delete, kShift, KeyCommand::Delete},
      {GridKey::Delete, kCtrl | kShift, KeyCommand::Delete},
      {GridKey::Delete, kCtrl, KeyCommand::None},
      {GridKey::Z, kCtrl, KeyCommand::Undo},
      {GridKey::Y, kCtrl, KeyCommand::Redo},
      {GridKey::Z, kCtrl | kShift, KeyCommand::Redo},
      {GridKey::Y, kCtrl | kShift, KeyCommand::None},
      {GridKey::Z, kCtrl | kAlt, KeyCommand::None},
  };
  for (const auto& c : cases) {
    Document doc;
    EXPECT_EQ(GridKeyDown(doc, {3, 5}, c.key, c.shift), c.command)
        << static_cast<int>(c.key) << " with " << c.shift;
    EXPECT_EQ(doc.CurCol, 3);
    EXPECT_EQ(doc.CurRow, 5);
  }
}

}  // namespace
}  // namespace tabulon
