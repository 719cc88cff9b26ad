// The command table: every menu command is on a menu, each menu's submenus
// close, and only the paste items depend on the editing state.
#include "editing/grid_command.h"

#include <gtest/gtest.h>

#include <set>

namespace tabulon {
namespace {

TEST(GridCommands, EveryMenuCommandIsOnAMenuAndOnlyPastesCanBeDisabled) {
  std::set<GridCommand> onMenus;
  for (const GridMenu menu : {GridMenu::Cells, GridMenu::Columns, GridMenu::Rows}) {
    int depth = 0;
    for (const MenuLine& line : MenuLines(menu)) {
      depth += line.kind == MenuLine::Kind::Submenu ? 1 : line.kind == MenuLine::Kind::End ? -1 : 0;
      ASSERT_GE(depth, 0);
      if (line.kind != MenuLine::Kind::Submenu && line.kind != MenuLine::Kind::End &&
          line.kind != MenuLine::Kind::Separator) {
        onMenus.insert(line.command);
      }
    }
    EXPECT_EQ(depth, 0) << static_cast<int>(menu);
  }
  EXPECT_TRUE(MenuLines(GridMenu::None).empty());
  const GridEditState idle;
  for (int c = 0; c <= static_cast<int>(GridCommand::Redo); ++c) {
    const auto command = static_cast<GridCommand>(c);
    const bool keyOnly = command == GridCommand::SelectAll || command == GridCommand::Undo ||
                         command == GridCommand::Redo;
    EXPECT_EQ(onMenus.count(command), keyOnly ? 0u : 1u) << c;
    const bool paste = command == GridCommand::Paste || command == GridCommand::PasteColumn ||
                       command == GridCommand::PasteRow;
    EXPECT_EQ(CommandEnabled(idle, command), !paste) << c;
  }
  GridEditState holding;
  holding.held.kind = HeldLine::Kind::Row;
  EXPECT_TRUE(CommandEnabled(holding, GridCommand::PasteRow));
  EXPECT_FALSE(CommandEnabled(holding, GridCommand::PasteColumn));
}

}  // namespace
}  // namespace tabulon
