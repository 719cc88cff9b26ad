#include "editing/grid_command.h"

namespace tabulon {

namespace {

using K = MenuLine::Kind;
using C = GridCommand;

constexpr MenuLine Item(std::string_view caption, const char* name, GridCommand command) {
  return {K::Item, caption, name, command};
}
constexpr MenuLine Date(std::string_view caption, const char* name, DateItem date) {
  return {K::Item, caption, name, C::InsertDate, date};
}
constexpr MenuLine Submenu(std::string_view caption, const char* name = "") {
  return {K::Submenu, caption, name};
}
constexpr MenuLine End() {
  return {K::End, {}};
}
constexpr MenuLine Separator() {
  return {K::Separator, {}};
}
constexpr MenuLine Texts(std::span<const std::string_view> texts) {
  return {K::Texts, {}, kFixedTextName, C::InsertText, DateItem::YYYYMMDD1, texts};
}

constexpr MenuLine kCellMenu[] = {
    Item("切り取り", "N111", C::Cut),
    Item("コピー", "N2", C::Copy),
    Item("貼り付け", "N1", C::Paste),
    Item("削除", "N94", C::Delete),
    Submenu("文字揃え", "N99"),
    Item("左", "N100", C::AlignLeft),
    Item("中央（簡易）", "N101", C::AlignCentre),
    Item("右", "N102", C::AlignRight),
    End(),
    Separator(),
    Submenu("日付"),
    Date("YYYY/MM/DD", "YYYYMMDD1", DateItem::YYYYMMDD1),
    Date("YY/MM/DD", "YYMMDD1", DateItem::YYMMDD1),
    Date("MM/DD", "MMDD1", DateItem::MMDD1),
    Date("YYYY年MM月DD日", "YYYYMMDD2", DateItem::YYYYMMDD2),
    Date("YY年MM月DD日", "YMMDD1", DateItem::YMMDD1),
    Date("MM月DD日", "MMDD2", DateItem::MMDD2),
    Date("GG年MM月DD日", "GGMMDD1", DateItem::GGMMDD1),
    Submenu("曜日"),
    Texts(kWeekdayTexts),
    End(),
    End(),
    Submenu("記号"),
    Texts(kSymbolTexts),
    End(),
    Submenu("数字"),
    {K::NumeralSets, {}, kFixedTextName, C::InsertText, DateItem::YYYYMMDD1, {}, kNumeralSets},
    End(),
    Submenu("文字"),
    Texts(kWordTexts),
    End(),
    Separator(),
    Submenu("連番"),
    Item("行", "N97", C::NumberDown),
    Item("列", "N98", C::NumberAcross),
    End(),
};

constexpr MenuLine kColumnMenu[] = {
    Item("列切り取り", "N112", C::CutColumn),
    Item("列コピー", "N3", C::CopyColumn),
    Item("列貼り付け", "P1", C::PasteColumn),
    Item("列削除", "MenuItem2", C::DeleteColumn),
    Submenu("列挿入"),
    Item("この列の前", "N75", C::InsertColumnBefore),
    Item("この列の後", "N76", C::InsertColumnAfter),
    End(),
    Submenu("文字揃え", "N90"),
    Item("左", "N91", C::AlignLeft),
    Item("中央（簡易）", "N92", C::AlignCentre),
    Item("右", "N93", C::AlignRight),
    End(),
};

constexpr MenuLine kRowMenu[] = {
    Item("行切り取り", "N113", C::CutRow),
    Item("行コピー", "N72", C::CopyRow),
    Item("行貼り付け", "N73", C::PasteRow),
    Item("行削除", "MenuItem3", C::DeleteRow),
    Submenu("行の挿入"),
    Item("この行の前", "N77", C::InsertRowBefore),
    Item("この行の後", "N78", C::InsertRowAfter),
    End(),
    Submenu("文字揃え", "N103"),
    Item("左", "N104", C::AlignLeft),
    Item("中央（簡易）", "N105", C::AlignCentre),
    Item("右", "N106", C::AlignRight),
    End(),
};

}  // namespace

std::span<const MenuLine> MenuLines(GridMenu menu) {
  switch (menu) {
    case GridMenu::Cells:
      return kCellMenu;
    case GridMenu::Columns:
      return kColumnMenu;
    case GridMenu::Rows:
      return kRowMenu;
    case GridMenu::Unchanged:
    case GridMenu::None:
      break;
  }
  return {};
}

bool CommandEnabled(const GridEditState& state, GridCommand command) {
  switch (command) {
    case C::Paste:
      return state.cellPasteEnabled;
    case C::PasteColumn:
      return state.ColumnPasteEnabled();
    case C::PasteRow:
      return state.RowPasteEnabled();
    default:
      return true;
  }
}

}  // namespace tabulon
