#include "app/popup_menus.h"

#include <string_view>

#include "editing/inserted_content.h"

namespace tabulon {

namespace {

QString FromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// "&" would become an accelerator mark; captions are shown as written.
QString Caption(std::string_view utf8) {
  return FromUtf8(utf8).replace('&', "&&");
}

QAction* Item(QMenu* menu, std::string_view caption, const char* objectName) {
  QAction* action = menu->addAction(Caption(caption));
  action->setObjectName(QString::fromUtf8(objectName));
  return action;
}

QMenu* Submenu(QMenu* menu, std::string_view caption) {
  return menu->addMenu(Caption(caption));
}

// Fixed-text items: each inserts its caption, which its data carries.
template <typename Texts>
void Items(QMenu* menu, const Texts& texts) {
  for (const std::string_view text : texts) Item(menu, text, "N62")->setData(FromUtf8(text));
}

// "文字揃え" with its left, centre and right items, named as in that menu.
void AlignmentMenu(QMenu* menu, const char* submenu, const char* left, const char* centre,
                   const char* right) {
  QMenu* align = Submenu(menu, "文字揃え");
  align->setObjectName(QString::fromLatin1(submenu));
  Item(align, "左", left);
  Item(align, "中央（簡易）", centre);
  Item(align, "右", right);
}

}  // namespace

PopupMenus CreatePopupMenus(QWidget* parent) {
  PopupMenus m{new QMenu(parent), new QMenu(parent), new QMenu(parent)};
  m.PopupMenu1->setObjectName("PopupMenu1");
  m.PopupMenu2->setObjectName("PopupMenu2");
  m.PopupMenu3->setObjectName("PopupMenu3");

  QMenu* cells = m.PopupMenu1;
  Item(cells, "切り取り", "N111");
  Item(cells, "コピー", "N2");
  Item(cells, "貼り付け", "N1");
  Item(cells, "削除", "N94");
  AlignmentMenu(cells, "N99", "N100", "N101", "N102");
  cells->addSeparator();
  QMenu* dates = Submenu(cells, "日付");
  Item(dates, "YYYY/MM/DD", "YYYYMMDD1");
  Item(dates, "YY/MM/DD", "YYMMDD1");
  Item(dates, "MM/DD", "MMDD1");
  Item(dates, "YYYY年MM月DD日", "YYYYMMDD2");
  Item(dates, "YY年MM月DD日", "YMMDD1");
  Item(dates, "MM月DD日", "MMDD2");
  Item(dates, "GG年MM月DD日", "GGMMDD1");
  Items(Submenu(dates, "曜日"), kWeekdayTexts);
  Items(Submenu(cells, "記号"), kSymbolTexts);
  QMenu* numbers = Submenu(cells, "数字");
  for (const NumeralSet& set : kNumeralSets) {
    Items(Submenu(numbers, set.caption), set.texts);
  }
  Items(Submenu(cells, "文字"), kWordTexts);
  cells->addSeparator();
  QMenu* sequence = Submenu(cells, "連番");
  Item(sequence, "行", "N97");
  Item(sequence, "列", "N98");

  QMenu* columns = m.PopupMenu2;
  Item(columns, "列切り取り", "N112");
  Item(columns, "列コピー", "N3");
  Item(columns, "列貼り付け", "P1");
  Item(columns, "列削除", "MenuItem2");
  QMenu* insertColumn = Submenu(columns, "列挿入");
  Item(insertColumn, "この列の前", "N75");
  Item(insertColumn, "この列の後", "N76");
  AlignmentMenu(columns, "N90", "N91", "N92", "N93");

  QMenu* rows = m.PopupMenu3;
  Item(rows, "行切り取り", "N113");
  Item(rows, "行コピー", "N72");
  Item(rows, "行貼り付け", "N73");
  Item(rows, "行削除", "MenuItem3");
  QMenu* insertRow = Submenu(rows, "行の挿入");
  Item(insertRow, "この行の前", "N77");
  Item(insertRow, "この行の後", "N78");
  AlignmentMenu(rows, "N103", "N104", "N105", "N106");
  // Popups take the application's font, not their window's: the menus are
  // drawn in the window's Japanese font, in which "Ⅰ" is not "I".
  for (QMenu* menu : {m.PopupMenu1, m.PopupMenu2, m.PopupMenu3}) {
    menu->setFont(parent->font());
    for (QMenu* submenu : menu->findChildren<QMenu*>()) submenu->setFont(parent->font());
  }
  return m;
}

}  // namespace tabulon
