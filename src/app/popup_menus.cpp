#include "app/popup_menus.h"

#include <initializer_list>

namespace tabulon {

namespace {

// "&" would become an accelerator mark; captions are shown as written.
QString Caption(const char* utf8) {
  return QString::fromUtf8(utf8).replace('&', "&&");
}

QAction* Item(QMenu* menu, const char* caption, const char* objectName) {
  QAction* action = menu->addAction(Caption(caption));
  action->setObjectName(QString::fromUtf8(objectName));
  action->setEnabled(false);  // enabled as each command is built
  return action;
}

QMenu* Submenu(QMenu* menu, const char* caption) {
  return menu->addMenu(Caption(caption));
}

void Items(QMenu* menu, std::initializer_list<const char*> captions) {
  for (const char* c : captions) Item(menu, c, "N62");
}

void AlignmentMenu(QMenu* menu) {
  QMenu* align = Submenu(menu, "文字揃え");
  Item(align, "左", "N100");
  Item(align, "中央（簡易）", "N101");
  Item(align, "右", "N102");
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
  AlignmentMenu(cells);
  cells->addSeparator();
  QMenu* dates = Submenu(cells, "日付");
  Item(dates, "YYYY/MM/DD", "YYYYMMDD1");
  Item(dates, "YY/MM/DD", "YYMMDD1");
  Item(dates, "MM/DD", "MMDD1");
  Item(dates, "YYYY年MM月DD日", "YYYYMMDD2");
  Item(dates, "YY年MM月DD日", "YMMDD1");
  Item(dates, "MM月DD日", "MMDD2");
  Item(dates, "GG年MM月DD日", "GGMMDD1");
  Items(Submenu(dates, "曜日"), {"(日)", "(月)", "(火)", "(水)", "(木)", "(金)", "(土)"});
  Items(Submenu(cells, "記号"),
        {"○", "●", "×", "◎", "△", "▲", "▽", "▼", "□", "■", "◇",   "◆",   "☆", "★", "→", "←",
         "↑", "↓", "≧", "≦", "≫", "≪", "≠", "≡", "≒", "±", "[+]", "[-]", "÷", "∵", "∴"});
  QMenu* numbers = Submenu(cells, "数字");
  Items(Submenu(numbers, "①..⑩"), {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨", "⑩"});
  Items(Submenu(numbers, "一..十"), {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"});
  Items(Submenu(numbers, "Ⅰ..Ⅹ"), {"Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ", "Ⅵ", "Ⅶ", "Ⅷ", "Ⅸ", "Ⅹ"});
  Items(Submenu(numbers, "ⅰ..ⅹ"), {"ⅰ", "ⅱ", "ⅲ", "ⅳ", "ⅴ", "ⅵ", "ⅶ", "ⅷ", "ⅸ", "ⅹ"});
  Items(Submenu(cells, "文字"), {"済", "未", "OK", "NG", "レ", "※", "〃", "同上", "真", "偽",
                                 "True", "False", "削", "除", "消", "完", "複", "再", "戻"});
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
  AlignmentMenu(columns);

  QMenu* rows = m.PopupMenu3;
  Item(rows, "行切り取り", "N113");
  Item(rows, "行コピー", "N72");
  Item(rows, "行貼り付け", "N73");
  Item(rows, "行削除", "MenuItem3");
  QMenu* insertRow = Submenu(rows, "行の挿入");
  Item(insertRow, "この行の前", "N77");
  Item(insertRow, "この行の後", "N78");
  AlignmentMenu(rows);
  return m;
}

}  // namespace tabulon
