// Write a random grid, wrap it, read it back: what the table shows must come
// back exactly, and writing the read grid again must give the same table.
#include <gtest/gtest.h>

#include <unicode/uchar.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <random>

#include "document/blanks.h"
#include "document/text_columns.h"
#include "support/text.h"
#include "table/comment_wrap.h"
#include "table/reader.h"
#include "table/writer.h"

namespace tabulon {
namespace {

using testing::Sj;
// Pieces of cell text: ASCII, numbers, blanks, kanji, half-width kana, and
// what the code page lacks or writes otherwise (a combining accent, emoji
// sequences, a flag, 𠮷, Hangul, the wave dash). No "+" and no box
// characters: inside a cell those make a line look like a rule.
const std::vector<std::string> kPieces = {"a",    "Zq",
                                          "x y",  "42",
                                          "-3.5", "1,000",
                                          " ",    "  ",
                                          "表",   "漢字",
                                          "ｶﾅ",   "ｱ",
                                          "①",    "～",
                                          "|",    "#",
                                          "'",    "^-",
                                          "{",    "*/",
                                          "é",    "e\u0301",
                                          "✅",    "😀",
                                          "🇯🇵",   "👨‍👩‍👧",
                                          "𠮷",   "한",
                                          "〜",   "−",
                                          "€"};

struct Case {
  Document doc;
  WrapStyle wrap;
};

std::string RandomText(std::mt19937& rng, int maxPieces,
                       const std::vector<std::string>& pieces = kPieces) {
  std::string s;
  for (int n = std::uniform_int_distribution(0, maxPieces)(rng); n > 0; --n) {
    s += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(rng)];
  }
  return s;
}

void FillRandom(std::mt19937& rng, Document& doc, bool ruled,
                const std::vector<std::string>& pieces = kPieces) {
  SetUpGrid(doc);
  auto chance = [&](int percent) { return std::uniform_int_distribution(0, 99)(rng) < percent; };
  const int rows = std::uniform_int_distribution(1, 12)(rng);
  const int cols = std::uniform_int_distribution(1, 12)(rng);
  for (int r = 1; r <= rows; ++r) {
    for (int c = 2; c < 2 + cols; ++c) {
      if (chance(70)) doc.grid.SetCell(c, r, RandomText(rng, 3, pieces));
    }
    if (r > 1 && chance(20)) doc.grid.SetCell(0, r, std::string(ContinuationMark));
  }
  // Dragged widths of two columns or more: narrower ones come back as two.
  for (int c = 2; c < 2 + cols; ++c) {
    if (chance(30)) doc.grid.SetColWidth(c, 5 + 6 * std::uniform_int_distribution(2, 9)(rng));
  }
  OptionState& o = doc.options;
  o.SetChecked(Option::Ruled, ruled);
  o.SetChecked(chance(50) ? Option::AsciiRules : Option::BoxRules, true);
  o.SetChecked(Option::Title, chance(60));
  std::string title = std::string(StripText(RandomText(rng, 4, pieces)));
  // A title beginning with "^-" reads after "/*" as a table's top line.
  if (title.empty() || IsBlankByte(title[0]) || title[0] == '^') title = "T" + title;
  o.SetTitle(std::string(CutToColumns(title, 20)));
  if (ruled) {
    o.SetChecked(Option::ColumnHeadings, chance(60));
    o.SetChecked(Option::RowHeadings, chance(60));
    o.SetChecked(Option::Trim, chance(50));
  }
}

std::string Clipboard(std::vector<std::string> lines, int T, WrapStyle wrap, const OptionState& o) {
  WrapComment(lines, T, wrap, o);
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

class RoundTrip : public ::testing::TestWithParam<WrapStyle> {};

TEST_P(RoundTrip, RuledTablesComeBackWhole) {
  std::mt19937 rng(1234 + static_cast<int>(GetParam()));
  for (int iteration = 0; iteration < 300; ++iteration) {
    Document original;
    FillRandom(rng, original, true);
    const WrittenTable written = WriteTable(original);
    const int T = written.ruleWidth;
    const std::vector<std::string>& table = written.lines;
    const OptionState& o = original.options;
    // Lined up: every line but the title is the rule's columns wide.
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (i != 1 || !o.Checked(Option::Title)) {
        ASSERT_EQ(Columns(table[i]), T) << testing::Utf8(table[i]);
      }
    }
    const std::string text = Clipboard(table, T, GetParam(), o);

    Document back;
    SetUpGrid(back);
    const ReadReport report = ReadClipboardText(back, text);
    ASSERT_EQ(report.kind, ReadReport::Kind::GeneratedTable) << text;
    SCOPED_TRACE(testing::Utf8(text));
    // A line comment's table tells which it stood behind.
    const bool lineComment = GetParam() == WrapStyle::Slashes || GetParam() == WrapStyle::Hash;
    EXPECT_EQ(WrapOfPrefix(report.prefix), lineComment ? GetParam() : WrapStyle::Plain);
    const OptionState& b = back.options;
    for (Option c : {Option::ColumnHeadings, Option::RowHeadings, Option::Title, Option::AsciiRules,
                     Option::BoxRules}) {
      EXPECT_EQ(b.Checked(c), o.Checked(c)) << static_cast<int>(c);
    }
    EXPECT_EQ(b.Title(), o.Checked(Option::Title) ? o.Title() : "");
    const int top = Columns(SplitLines(text).front()) - Columns(report.prefix);
    EXPECT_EQ(b.Checked(Option::Trim), top < 99);

    // Every column the table shows, with its width, every row and mark; the
    // last column is left out where the width limit resized it.
    const std::string& bottom = table.back();
    int columns = o.BoxStyle() ? 1 : -1;
    for (const std::string& j : {std::string("+"), Sj("┴")}) {
      for (std::size_t at = 0; (at = bottom.find(j, at)) != std::string::npos; at += j.size()) {
        ++columns;
      }
    }
    if (o.Checked(Option::RowHeadings)) --columns;
    const int limit = o.Checked(Option::FixedWidth) ? o.Position() : 99;
    if (T == limit) --columns;
    const int lastRow = std::max(FindLastRow(original.grid), kFirstDataRow);
    for (int c = 2; c < 2 + columns; ++c) {
      EXPECT_EQ(back.grid.ColWidth(c), original.grid.ColWidth(c)) << "column " << c;
      for (int r = 1; r <= lastRow; ++r) {
        EXPECT_EQ(back.grid.Cell(c, r), StripTrailing(original.grid.Cell(c, r)))
            << "cell " << c << "," << r;
      }
    }
    for (int r = 2; r <= lastRow; ++r) {
      EXPECT_EQ(back.grid.Cell(0, r), original.grid.Cell(0, r)) << "mark " << r;
    }
    if (HasFailure()) return;

    // Without a width limit the read grid writes the same table again.
    if ((T < 99) == (top < 99)) {
      EXPECT_EQ(WriteTable(back).lines, table);
    }
  }
}

// The columns a terminal draws a line in (glibc's wcswidth, in a UTF-8
// locale); with East Asian Ambiguous characters two (xterm -cjk_width)
// for a table of the default rule.
int TerminalColumns(const std::string& line, WidthRule rule) {
  std::wstring text(line.size() + 1, L'\0');
  text.resize(std::mbstowcs(text.data(), line.c_str(), text.size()));
  int columns = ::wcswidth(text.c_str(), text.size());
  for (const wchar_t c : text) {
    columns +=
        rule == WidthRule::Wide && ::wcwidth(c) == 1 &&
        u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_EAST_ASIAN_WIDTH) == U_EA_AMBIGUOUS;
  }
  return columns;
}

// A table of the code page's Ambiguous characters (○ ① α ─ ※ Ω) among kana,
// kanji and bars lines up where it is read under either width rule, and
// reads back whole, writing the same again, while the other is current.
TEST_P(RoundTrip, TablesOfEitherWidthRuleLineUpInATerminalAndReadBackUnderTheOther) {
  const std::vector<std::string> pieces = {"○",    "①",  "α", "─",  "※", "Ω",   "表", "漢字",
                                           "かな", "ｶﾅ", "a", "42", " ", "x y", "|"};
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
  std::mt19937 rng(77 + static_cast<int>(GetParam()));
  for (int iteration = 0; iteration < 300 && !HasFailure(); ++iteration) {
    const WidthRule rule = iteration % 2 ? WidthRule::Narrow : WidthRule::Wide;
    Document original;
    FillRandom(rng, original, true, pieces);
    WrittenTable written;
    {
      const WidthRuleScope scope(rule);
      written = WriteTable(original);
    }
    const std::vector<std::string>& table = written.lines;
    for (const std::string& line : table) {
      ASSERT_EQ(TerminalColumns(line, rule), TerminalColumns(table[0], rule)) << line;
    }
    const std::string text = Clipboard(table, written.ruleWidth, GetParam(), original.options);
    Document back;
    SetUpGrid(back);
    const WidthRuleScope other(rule == WidthRule::Wide ? WidthRule::Narrow : WidthRule::Wide);
    const ReadReport report = ReadClipboardText(back, text);
    // A box table tells its rule by its rule lines; an ASCII one by a row.
    EXPECT_EQ(report.widthRule.value_or(rule), rule) << text;
    EXPECT_TRUE(report.widthRule || !original.options.BoxStyle()) << text;
    const WidthRuleScope again(rule);
    if ((written.ruleWidth < 99) == (Columns(SplitLines(text).front()) < 99)) {
      EXPECT_EQ(WriteTable(back).lines, table) << text;
    }
  }
  std::setlocale(LC_ALL, locale.c_str());
}

// Eight columns of odd widths put eight "-" in a box table's rule lines
// (by the default rule) that its title's top line lacks: the two are then
// as wide under either rule, and the default one is the one it was written
// with.
TEST(RoundTrip, ABoxTableAsWideUnderBothRulesIsOfTheDefaultOne) {
  Document doc;
  SetUpGrid(doc);
  for (int c = kFirstDataCol; c < kFirstDataCol + 8; ++c) doc.grid.SetCell(c, 1, "abc");
  doc.options.SetChecked(Option::BoxRules, true);
  doc.options.SetChecked(Option::Trim, true);
  doc.options.SetTitle("T");
  const WrittenTable written = WriteTable(doc);
  Document back;
  SetUpGrid(back);
  const WidthRuleScope narrow(WidthRule::Narrow);
  std::string text;
  for (const std::string& line : written.lines) text += line + "\n";
  EXPECT_EQ(ReadClipboardText(back, text).widthRule, WidthRule::Wide) << text;
}

TEST_P(RoundTrip, UnruledTextComesBackThroughCommentWraps) {
  if (GetParam() == WrapStyle::Plain || GetParam() == WrapStyle::Slashes ||
      GetParam() == WrapStyle::Hash) {
    GTEST_SKIP() << "tab text, plain or behind a line comment, is read as spreadsheet cells";
  }
  std::mt19937 rng(99 + static_cast<int>(GetParam()));
  for (int iteration = 0; iteration < 200; ++iteration) {
    Document original;
    FillRandom(rng, original, false);
    const int lastCol = FindLastCol(original.grid);
    const WrittenTable written = WriteTable(original);
    // Empty lines, or a single line (one row quoted for Basic), read as nothing.
    if (lastCol == 0 || written.lines.size() < 2) continue;
    const std::string text =
        Clipboard(written.lines, written.ruleWidth, GetParam(), original.options);

    Document back;
    SetUpGrid(back);
    ASSERT_EQ(ReadClipboardText(back, text).kind, ReadReport::Kind::WrappedTabText) << text;
    SCOPED_TRACE(testing::Utf8(text));
    const bool title = original.options.Checked(Option::Title);
    EXPECT_EQ(back.options.Title(), title ? original.options.Title() : "");
    EXPECT_EQ(back.options.Checked(Option::Title), title);
    EXPECT_FALSE(back.options.Checked(Option::Ruled));
    // Fields up to the 99-column limit; a last field that met it was resized.
    const std::string& row1 = written.lines[title ? 1 : 0];
    int fields = static_cast<int>(std::count(row1.begin(), row1.end(), '\t'));
    if (Columns(row1) == 100) --fields;
    for (int r = 1; r <= std::max(FindLastRow(original.grid), kFirstDataRow); ++r) {
      for (int c = 2; c < 2 + fields; ++c) {
        EXPECT_EQ(back.grid.Cell(c, r), StripTrailing(original.grid.Cell(c, r)))
            << "cell " << c << "," << r;
      }
    }
    if (HasFailure()) return;
  }
}

std::string WrapName(const ::testing::TestParamInfo<WrapStyle>& info) {
  static const char* const kNames[] = {"Plain", "Delphi", "CFamily", "Basic", "Slashes", "Hash"};
  return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryWrap, RoundTrip,
                         ::testing::Values(WrapStyle::Plain, WrapStyle::Delphi, WrapStyle::CFamily,
                                           WrapStyle::Basic, WrapStyle::Slashes, WrapStyle::Hash),
                         WrapName);

// A cell of megabytes, as a spreadsheet can copy, is read whole, its
// column's pixel width holds its length, and the writer's table stays
// within its line width (the cell narrowed to "#"s), not megabytes long.
TEST(RoundTrip, ACellOfMegabytesIsReadWholeAndWrittenNarrow) {
  const std::string big(6'000'000, 'x');
  Document doc;
  SetUpGrid(doc);
  ReadClipboardText(doc, big + "\ty\r\nz\tw\r\n");
  ASSERT_EQ(doc.grid.Cell(2, 1), big);
  EXPECT_EQ(doc.grid.ColWidth(2), TextPixelWidth(big) + kColumnPaddingPx);
  const WrittenTable table = WriteTable(doc);
  EXPECT_EQ(doc.grid.Cell(2, 1), big);
  for (const std::string& line : table.lines) EXPECT_LE(Columns(line), table.ruleWidth);
}

// A grid whose table rows span several grid rows, copied out as a
// spreadsheet copies it (a cell's lines joined by LF; a cell with a line
// break or a quote quoted, its quotes doubled), reads back the same.
TEST(RoundTrip, MultiLineCellsComeBackThroughSpreadsheetText) {
  const std::string pieces[] = {"a", "x y", Sj("表"), "\"", "\"\"", "say \"hi\"", "a\"b", "{"};
  std::mt19937 rng(4321);
  auto below = [&](std::size_t n) { return static_cast<int>(rng() % n); };
  for (int iteration = 0; iteration < 300; ++iteration) {
    Document original;
    SetUpGrid(original);
    const int cols = 2 + below(5);
    std::string text;
    for (int row = 1, records = 2 + below(8); records > 0; --records, text += "\r\n") {
      // One column is as tall as the record, and no line of a cell is empty:
      // a spreadsheet cell neither begins nor ends with a line break.
      const int height = 1 + below(3), tallest = below(cols);
      for (int c = 0; c < cols; ++c) {
        std::string cell;
        for (int k = 0, n = c == tallest ? height : below(height + 1); k < n; ++k) {
          const std::string& line = pieces[below(std::size(pieces))];
          original.grid.SetCell(kFirstDataCol + c, row + k, line);
          cell += (k ? "\n" : "") + line;
        }
        if (cell.find_first_of("\n\"") != std::string::npos) {
          for (std::size_t q = 0; (q = cell.find('"', q)) != std::string::npos; q += 2)
            cell.insert(q, "\"");
          cell = "\"" + cell + "\"";
        }
        text += (c ? "\t" : "") + cell;
      }
      for (int k = 1; k < height; ++k)
        original.grid.SetCell(0, row + k, std::string(ContinuationMark));
      row += height;
    }
    for (int c = kFirstDataCol; c <= kLastCol; ++c) FitColWidth(original, c);

    Document back;
    SetUpGrid(back);
    ASSERT_EQ(ReadClipboardText(back, text).kind, ReadReport::Kind::PlainTabText) << text;
    for (int c = 0; c <= kLastCol; ++c) {
      ASSERT_EQ(back.grid.ColWidth(c), original.grid.ColWidth(c)) << c << " " << text;
      for (int r = 1; r <= kLastRow; ++r)  // an empty field reads as blanks, as ever
        ASSERT_EQ(StripTrailing(back.grid.Cell(c, r)), original.grid.Cell(c, r)) << c << "," << r;
    }
  }
}

}  // namespace
}  // namespace tabulon
