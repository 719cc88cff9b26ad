#include "app/popup_menus.h"

#include <optional>
#include <span>
#include <string_view>

namespace tabulon {

namespace {

QString FromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// "&" would become an accelerator mark; captions are shown as written.
QString Caption(std::string_view utf8) {
  return FromUtf8(utf8).replace('&', "&&");
}

// Each item carries what it runs.
constexpr const char* kCommand = "command";
constexpr const char* kDate = "date";

QAction* Item(QMenu* menu, std::string_view caption, const char* name, GridCommand command,
              DateItem date) {
  QAction* action = menu->addAction(Caption(caption));
  action->setObjectName(QString::fromUtf8(name));
  action->setProperty(kCommand, static_cast<int>(command));
  action->setProperty(kDate, static_cast<int>(date));
  if (command == GridCommand::InsertText) action->setData(FromUtf8(caption));
  return action;
}

// The menu's lines from `at`, up to the end of the submenu they are in.
void AddLines(QMenu* menu, std::span<const MenuLine> lines, std::size_t& at) {
  while (at < lines.size()) {
    const MenuLine& line = lines[at++];
    switch (line.kind) {
      case MenuLine::Kind::Item:
        Item(menu, line.caption, line.name, line.command, line.date);
        break;
      case MenuLine::Kind::Texts:
        for (const std::string_view text : line.texts) {
          Item(menu, text, line.name, line.command, line.date);
        }
        break;
      case MenuLine::Kind::NumeralSets:
        for (const NumeralSet& set : line.numeralSets) {
          QMenu* submenu = menu->addMenu(Caption(set.caption));
          for (const std::string_view text : set.texts) {
            Item(submenu, text, line.name, line.command, line.date);
          }
        }
        break;
      case MenuLine::Kind::Separator:
        menu->addSeparator();
        break;
      case MenuLine::Kind::Submenu: {
        QMenu* submenu = menu->addMenu(Caption(line.caption));
        if (*line.name) submenu->setObjectName(QString::fromLatin1(line.name));
        AddLines(submenu, lines, at);
        break;
      }
      case MenuLine::Kind::End:
        return;
    }
  }
}

QMenu* Menu(QWidget* parent, GridMenu which, const char* name) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QString::fromLatin1(name));
  std::size_t at = 0;
  AddLines(menu, MenuLines(which), at);
  // Popups take the application's font, not their window's: the menus are
  // drawn in the window's Japanese font, in which "Ⅰ" is not "I".
  menu->setFont(parent->font());
  for (QMenu* submenu : menu->findChildren<QMenu*>()) submenu->setFont(parent->font());
  return menu;
}

}  // namespace

PopupMenus CreatePopupMenus(QWidget* parent) {
  return {Menu(parent, GridMenu::Cells, "PopupMenu1"),
          Menu(parent, GridMenu::Columns, "PopupMenu2"),
          Menu(parent, GridMenu::Rows, "PopupMenu3")};
}

std::optional<ItemCommand> CommandOf(const QAction* item) {
  const QVariant command = item->property(kCommand);
  if (!command.isValid()) return std::nullopt;
  return ItemCommand{static_cast<GridCommand>(command.toInt()),
                     static_cast<DateItem>(item->property(kDate).toInt()), item->data().toString()};
}

}  // namespace tabulon
