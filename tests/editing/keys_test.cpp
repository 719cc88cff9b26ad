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
    std::optional<GridCommand> command;
  } cases[] = {
      {GridKey::A, kCtrl, GridCommand::SelectAll},
      {GridKey::C, kCtrl, GridCommand::Copy},
      {GridKey::D, kCtrl, GridCommand::Delete},
      {GridKey::V, kCtrl, GridCommand::Paste},
      {GridKey::Other, kCtrl, std::nullopt},
      {GridKey::C, kCtrl | kShift, std::nullopt},
      {GridKey::C, 0, std::nullopt},
      {GridKey::V, kCtrl | kAlt, std::nullopt},
      {GridKey::Delete, 0, GridCommand::Delete},
      {GridKey::Delete, kShift, GridCommand::Delete},
      {GridKey::Delete, kCtrl | kShift, GridCommand::Delete},
      {GridKey::Delete, kCtrl, std::nullopt},
      {GridKey::Z, kCtrl, GridCommand::Undo},
      {GridKey::Y, kCtrl, GridCommand::Redo},
      {GridKey::Z, kCtrl | kShift, GridCommand::Redo},
      {GridKey::Y, kCtrl | kShift, std::nullopt},
      {GridKey::Z, kCtrl | kAlt, std::nullopt},
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
