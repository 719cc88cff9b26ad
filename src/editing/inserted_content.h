// What the cell menu drops into the current cell: fixed texts (weekdays,
// symbols, numerals, words), today's date in seven formats, and sequence
// numbers down a column or along a row.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "document/document.h"

namespace tabulon {

// The fixed-text items, in menu order. Each caption (UTF-8) is the text the
// item inserts.
inline constexpr std::array<std::string_view, 7> kWeekdayTexts = {"(日)", "(月)", "(火)", "(水)",
                                                                  "(木)", "(金)", "(土)"};
inline constexpr std::array<std::string_view, 31> kSymbolTexts = {
    "○", "●", "×", "◎", "△", "▲", "▽", "▼", "□", "■", "◇",   "◆",   "☆", "★", "→", "←",
    "↑", "↓", "≧", "≦", "≫", "≪", "≠", "≡", "≒", "±", "[+]", "[-]", "÷", "∵", "∴"};
struct NumeralSet {
  std::string_view caption;
  std::array<std::string_view, 10> texts;
};
inline constexpr std::array<NumeralSet, 4> kNumeralSets = {{
    {"①..⑩", {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨", "⑩"}},
    {"一..十", {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"}},
    {"Ⅰ..Ⅹ", {"Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ", "Ⅵ", "Ⅶ", "Ⅷ", "Ⅸ", "Ⅹ"}},
    {"ⅰ..ⅹ", {"ⅰ", "ⅱ", "ⅲ", "ⅳ", "ⅴ", "ⅵ", "ⅶ", "ⅷ", "ⅸ", "ⅹ"}},
}};
inline constexpr std::array<std::string_view, 19> kWordTexts = {
    "済",   "未",    "OK", "NG", "レ", "※",  "〃", "同上", "真", "偽",
    "True", "False", "削", "除", "消", "完", "複", "再",   "戻"};

// A fixed text or a date (inside text) into cell (CurCol, CurRow); then CurRow
// becomes 0 and the column widens to its widest data cell. Nothing when the
// recorded cell is not a data cell.
void InsertText(Document& doc, std::string_view text);

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
};
// The date where the program runs, now.
CivilDate LocalToday();

// A date's era in the Japanese calendar: its name (UTF-8) and the year
// within it.
struct EraYear {
  std::string name;
  int year;
};

// The seven date items, named as their menu items.
enum class DateItem { YYYYMMDD1, YYMMDD1, MMDD1, YYYYMMDD2, YMMDD1, MMDD2, GGMMDD1 };

// The date as the item writes it (inside text): "2026/12/06", "'26/12/06",
// "12/06", "2026年12月06日", "'26年12月06日", "12月06日", and for the era item
// the era's name and the two-digit year within the era, "令和08年12月06日".
// Without an era (nullopt) the era item gives "26年12月06日".
std::string FormatDate(DateItem item, CivilDate date, const std::optional<EraYear>& era);

// "連番" ▸ "行": 1, 2, 3, ... down column CurCol from CurRow to the last
// used row (a row whose cells, each followed by CR LF and trimmed as one
// text, are wider than 3 columns), skipping rows marked "↑". Nothing when
// CurRow lies beyond that row.
void NumberDown(Document& doc);

// "連番" ▸ "列": 1, 2, 3, ... along row CurRow from CurCol to the last used
// column (wider than 2 columns the same way), no column skipped.
void NumberAcross(Document& doc);

}  // namespace tabulon
