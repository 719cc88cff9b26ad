// What the cell menu inserts: fixed texts, dates with the era, and sequence
// numbers down a column and along a row.
#include "editing/inserted_content.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/codec.h"
#include "editing/japanese_era.h"
#include "support/text.h"

namespace tabulon {
namespace {

using testing::Sj;
using testing::Utf8;

const std::string kMark(ContinuationMark);

// Every caption exactly as the menus must show it, typed independently of
// the tables the menus are built from, in menu order.
TEST(FixedTexts, EveryCaptionIsItsTextAndSurvivesTheCp932RoundTrip) {
  const std::vector<std::string> typed = {
      "(日)", "(月)",  "(火)", "(水)", "(木)", "(金)", "(土)", "○",  "●",    "×",  "◎",
      "△",    "▲",     "▽",    "▼",    "□",    "■",    "◇",    "◆",  "☆",    "★",  "→",
      "←",    "↑",     "↓",    "≧",    "≦",    "≫",    "≪",    "≠",  "≡",    "≒",  "±",
      "[+]",  "[-]",   "÷",    "∵",    "∴",    "①",    "②",    "③",  "④",    "⑤",  "⑥",
      "⑦",    "⑧",     "⑨",    "⑩",    "一",   "二",   "三",   "四", "五",   "六", "七",
      "八",   "九",    "十",   "Ⅰ",    "Ⅱ",    "Ⅲ",    "Ⅳ",    "Ⅴ",  "Ⅵ",    "Ⅶ",  "Ⅷ",
      "Ⅸ",    "Ⅹ",     "ⅰ",    "ⅱ",    "ⅲ",    "ⅳ",    "ⅴ",    "ⅵ",  "ⅶ",    "ⅷ",  "ⅸ",
      "ⅹ",    "済",    "未",   "OK",   "NG",   "レ",   "※",    "〃", "同上", "真", "偽",
      "True", "False", "削",   "除",   "消",   "完",   "複",   "再", "戻"};
  std::vector<std::string> tables(kWeekdayTexts.begin(), kWeekdayTexts.end());
  tables.insert(tables.end(), kSymbolTexts.begin(), kSymbolTexts.end());
  for (const NumeralSet& set : kNumeralSets) {
    tables.insert(tables.end(), set.texts.begin(), set.texts.end());
    EXPECT_EQ(set.caption, std::string(set.texts.front()) + ".." + std::string(set.texts.back()));
  }
  tables.insert(tables.end(), kWordTexts.begin(), kWordTexts.end());
  EXPECT_EQ(tables, typed);
  for (const std::string& text : typed) {
    std::size_t replaced = 0;
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(text, &replaced)), text);
    EXPECT_EQ(replaced, 0u) << text;
  }
}

TEST(InsertText, ReplacesTheCellThenWidensItsColumnAndLeavesTheHeadingRowCurrent) {
  Document doc;
  SetUpGrid(doc);
  doc.grid.SetColWidth(4, 17);
  doc.grid.SetCell(4, 9, "old text");
  doc.CurCol = 4;
  doc.CurRow = 9;
  InsertText(doc, Sj("○"));
  EXPECT_EQ(doc.grid.Cell(4, 9), Sj("○"));
  EXPECT_EQ(doc.grid.ColWidth(4), 17);  // 12 px of text in 17 px rounded down to 12, plus 5
  EXPECT_EQ(doc.CurRow, 0);
  doc.CurRow = 9;
  InsertText(doc, "True");
  EXPECT_EQ(doc.grid.ColWidth(4), 29);

  Document beyond = doc;  // a right press beyond the last column
  beyond.CurCol = -1;
  beyond.CurRow = 9;
  InsertText(beyond, "x");
  NumberDown(beyond);
  NumberAcross(beyond);
  EXPECT_EQ(beyond.CurRow, 9);
}

TEST(FormatDate, SevenFormatsAndTheYearWithinTheEra) {
  const CivilDate dec6{2026, 12, 6}, jan5{2009, 1, 5};
  const struct {
    DateItem item;
    const char* dec6;
    const char* jan5;
  } cases[] = {
      {DateItem::YYYYMMDD1, "2026/12/06", "2009/01/05"},
      {DateItem::YYMMDD1, "'26/12/06", "'09/01/05"},
      {DateItem::MMDD1, "12/06", "01/05"},
      {DateItem::YYYYMMDD2, "2026年12月06日", "2009年01月05日"},
      {DateItem::YMMDD1, "'26年12月06日", "'09年01月05日"},
      {DateItem::MMDD2, "12月06日", "01月05日"},
      {DateItem::GGMMDD1, "令和08年12月06日", "平成21年01月05日"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8(FormatDate(c.item, dec6, JapaneseEraOf(dec6))), c.dec6);
    EXPECT_EQ(Utf8(FormatDate(c.item, jan5, JapaneseEraOf(jan5))), c.jan5);
  }
  EXPECT_EQ(Utf8(FormatDate(DateItem::GGMMDD1, dec6, std::nullopt)), "26年12月06日");
}

TEST(JapaneseEraOf, TheEraChangesOnItsFirstDay) {
  const struct {
    CivilDate date;
    const char* name;
    int year;
  } cases[] = {
      {{1989, 1, 7}, "昭和", 64}, {{1989, 1, 8}, "平成", 1},  {{2019, 4, 30}, "平成", 31},
      {{2019, 5, 1}, "令和", 1},  {{2026, 12, 6}, "令和", 8}, {{2026, 12, 31}, "令和", 8},
  };
  for (const auto& c : cases) {
    const std::optional<EraYear> era = JapaneseEraOf(c.date);
    ASSERT_TRUE(era) << c.date.year;
    EXPECT_EQ(era->name, c.name) << c.date.year << '-' << c.date.month << '-' << c.date.day;
    EXPECT_EQ(era->year, c.year) << c.date.year << '-' << c.date.month << '-' << c.date.day;
  }
}

std::vector<std::string> Column(const Document& doc, int c, int from, int to) {
  std::vector<std::string> cells;
  for (int r = from; r <= to; ++r) cells.push_back(doc.grid.Cell(c, r));
  return cells;
}

TEST(NumberDown, CountsToTheLastUsedRowSkippingMarkedRows) {
  Document doc;
  SetUpGrid(doc);
  doc.grid.SetCell(6, 7, "x");  // row 7 is the last used one
  doc.grid.SetCell(0, 5, kMark);
  doc.grid.SetCell(3, 5, "kept");
  doc.CurCol = 3;
  doc.CurRow = 3;
  NumberDown(doc);
  EXPECT_EQ(Column(doc, 3, 2, 8), (std::vector<std::string>{"", "1", "2", "kept", "3", "4", ""}));
  EXPECT_EQ(doc.CurRow, 3);

  Document below = doc;  // a start beyond the last used row changes nothing
  below.CurRow = 8;
  NumberDown(below);
  EXPECT_EQ(below.grid.Cell(3, 8), "");
}

// Where numbering stops: the last row or column whose text, its heading
// and hidden mark included, is wider than 3 columns (rows) or 2 (columns).
TEST(SequenceNumbers, UsedRowsAndColumnsByTheirThresholds) {
  const struct {
    const char* what;
    int col, row;
    std::string text;
    bool clearHeading;
    int last;  // the last numbered row (down column 2) or column (along row 1)
  } rows[] =
      {
          {"a default heading alone", 2, 200, "", false, 0},
          {"one column beside a default heading", 3, 200, "x", false, 200},
          {"the mark beside a default heading", 0, 200, kMark, false, 200},
          {"three columns without a heading", 3, 200, "abc", true, 0},
          {"four columns without a heading", 3, 200, "abcd", true, 200},
      },
    columns[] = {
        {"a default heading alone", 30, 5, "", false, 0},
        {"one column under a default heading", 30, 5, "x", false, 30},
        {"two columns without a heading", 30, 5, "ab", true, 0},
        {"three columns without a heading", 30, 5, "abc", true, 30},
    };
  for (const auto& c : rows) {
    Document doc;
    SetUpGrid(doc);
    doc.grid.SetCell(c.col, c.row, c.text);
    if (c.clearHeading) doc.grid.SetCell(1, c.row, "");
    doc.CurCol = 2;
    doc.CurRow = 1;
    NumberDown(doc);
    // Row 199, just above: a marked row takes no number itself.
    EXPECT_EQ(doc.grid.Cell(2, c.row - 1), c.last ? std::to_string(c.row - 1) : "") << c.what;
    EXPECT_EQ(doc.grid.Cell(2, 1), c.last ? "1" : "") << c.what;
  }
  for (const auto& c : columns) {
    Document doc;
    SetUpGrid(doc);
    doc.grid.SetCell(c.col, c.row, c.text);
    if (c.clearHeading) doc.grid.SetCell(c.col, 0, "");
    doc.CurCol = 2;
    doc.CurRow = 1;
    NumberAcross(doc);
    EXPECT_EQ(doc.grid.Cell(c.col, 1), c.last ? std::to_string(c.col - 1) : "") << c.what;
    EXPECT_EQ(doc.grid.Cell(c.col + 1, 1), "") << c.what;
  }
}

TEST(NumberAcross, FillsEveryColumnUpToTheLastUsedOneEmptyOnesToo) {
  Document doc;
  SetUpGrid(doc);
  doc.grid.SetCell(5, 9, "x");
  doc.CurCol = 2;
  doc.CurRow = 4;
  NumberAcross(doc);
  for (int c = 2; c <= 5; ++c) EXPECT_EQ(doc.grid.Cell(c, 4), std::to_string(c - 1));
  EXPECT_EQ(doc.grid.Cell(6, 4), "");
}

}  // namespace
}  // namespace tabulon
