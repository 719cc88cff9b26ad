#include "table/reader.h"
#include "document/text_columns.h"
#include "table/tab_text.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <utility>

#include "support/text.h"

namespace tabulon {
namespace {

using testing::Sj;
using Lines = std::vector<std::string>;

TEST(SplitLines, BreaksAtCrLfLfAndCr) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
}

TEST(SplitLines, FinalBreakEndsTheLastLine) {
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
  // A table followed by one empty line ends in two line breaks.
  EXPECT_EQ(SplitLines("a\nb\n\n"), (Lines{"a", "b", ""}));
  EXPECT_EQ(SplitLines("\r\n"), Lines{""});
}

TEST(SplitTabFields, KeepsEmptyAndBlankFields) {
  using Fields = std::vector<std::string_view>;
  const auto split = [](std::string_view line) {
    Fields fields;
    SplitTabFields(line, [&](int i, std::string_view f) {
      EXPECT_EQ(i, static_cast<int>(fields.size()));
      fields.push_back(f);
    });
    return fields;
  };
  EXPECT_EQ(split(""), Fields{""});
  EXPECT_EQ(split("a\t\t b \t"), (Fields{"a", "", " b ", ""}));
}

// Random lines of TABs, characters near the TAB's code and others: each
// field that reaches the grid is measured whole.
TEST(WidenToFields, MeasuresEveryFieldThatReachesTheGrid) {
  const std::string pieces[] = {"\t",    "\t",   "\x08", "\n",     Sj("沿"),
                                Sj("ｱ"), "\x01", "a",    Sj("表"), {"\0", 1}};
  std::mt19937 rng(5);
  for (int i = 0; i < 2000; ++i) {
    std::string line;
    for (int n = rng() % 120; n > 0; --n) line += pieces[rng() % std::size(pieces)];
    ColumnWidths got{}, want{};
    WidenToFields(got, line, kFirstDataCol + i % 5);
    SplitTabFields(line, [&](int f, std::string_view field) {
      if (kFirstDataCol + i % 5 + f <= kLastCol) want[kFirstDataCol + i % 5 + f] = Columns(field);
    });
    ASSERT_EQ(got, want) << ::testing::PrintToString(line);
  }
}

TEST(IsNumericText, AcceptsDigitsSignsSeparatorsAndYen) {
  for (const char* s : {"", "12", "-1,234.5", "+3", "\\1,000", "¥1,000", "-¥5", "..."})
    EXPECT_TRUE(IsNumericText(s)) << s;
  for (const char* s : {"1/2", " 5", "1e3", "x", "１", "￥5", "\xC2"}) {
    EXPECT_FALSE(IsNumericText(s)) << s;
  }
}

class PlainTabTextTest : public ::testing::Test {
 protected:
  PlainTabTextTest() { SetUpGrid(doc); }
  ReadReport Read(std::string_view text) { return ReadClipboardText(doc, text); }
  const std::string& Cell(int c, int r) const { return doc.grid.Cell(c, r); }
  Document doc;
};

TEST_F(PlainTabTextTest, NumbersAreRightAlignedToTheColumnWidth) {
  const ReadReport report = Read("x\t12\r\nyy\t3\r\n");
  EXPECT_EQ(report.kind, ReadReport::Kind::PlainTabText);
  EXPECT_EQ(Cell(2, 1), "x");
  EXPECT_EQ(Cell(3, 1), "12");
  EXPECT_EQ(Cell(2, 2), "yy");
  EXPECT_EQ(Cell(3, 2), " 3");
  EXPECT_EQ(doc.grid.ColWidth(2), 17);
  EXPECT_EQ(doc.grid.ColWidth(3), 17);
  EXPECT_EQ(doc.options.Title(), "");
  EXPECT_TRUE(doc.options.Checked(Option::Ruled));
}

TEST_F(PlainTabTextTest, NumericTestTrimsButTheCellKeepsTheField) {
  Read("name\t 5 \tfrac \nlonger name\t12345\t1/2  \n");
  EXPECT_EQ(Cell(3, 1), "   5 ");  // " 5 " padded on the left to 5
  EXPECT_EQ(Cell(3, 2), "12345");
  EXPECT_EQ(Cell(4, 1), "frac");
  EXPECT_EQ(Cell(4, 2), "1/2");
  EXPECT_EQ(doc.grid.ColWidth(2), 6 * 11 + 5);
  EXPECT_EQ(doc.grid.ColWidth(4), 6 * 5 + 5);
}

TEST_F(PlainTabTextTest, WhichTextsAreReadAsTabText) {
  EXPECT_EQ(Read("x\t1").kind, ReadReport::Kind::PlainTabText);  // one spreadsheet row
  EXPECT_EQ(Cell(3, 1), "1");
  EXPECT_EQ(Read("x 1\n").kind, ReadReport::Kind::Nothing);  // one line, no TAB
  SetUpGrid(doc);
  EXPECT_EQ(Read("a b\nc d\n").kind, ReadReport::Kind::Nothing);
  EXPECT_EQ(Read("it's\t1\nb\t2").kind, ReadReport::Kind::PlainTabText);
  EXPECT_EQ(Cell(2, 1), "it's");
  SetUpGrid(doc);
  EXPECT_EQ(Read("'a\t1\n'b\t2").kind, ReadReport::Kind::WrappedTabText);
  EXPECT_EQ(Read("+-^--===-^-+\tx\nb\t2").kind, ReadReport::Kind::GeneratedTable);
}

TEST_F(PlainTabTextTest, TabAfterAByteThatIsNoCharacterIsATab) {
  // 0x09 is never a byte of a longer character, and a stray byte before a
  // TAB must not hide it: 0x88, kept as the byte it is.
  const std::string text = "\x88\t1\nb\t2\n";
  EXPECT_EQ(Read(text).kind, ReadReport::Kind::PlainTabText);
  EXPECT_EQ(Cell(2, 1), "\x88");
  EXPECT_EQ(Cell(3, 1), "1");
}

TEST_F(PlainTabTextTest, NothingIsStoredOutsideTheGridAndTheRestIsCounted) {
  std::string text;
  for (int r = 1; r <= 300; ++r) {
    for (int f = 0; f < 40; ++f) text += (f ? "\t" : "") + std::to_string(r);
    text += "\n";
  }
  text += "\n\n";  // empty lines below the grid lose nothing
  const ReadReport report = Read(text);
  EXPECT_EQ(report.rowsLeftOut, 300 - 256);
  EXPECT_EQ(report.fieldsLeftOut, 256 * 5);
  EXPECT_EQ(Cell(36, 256), "256");
  EXPECT_EQ(Cell(2, 1), "  1");    // widths come from every line, 300 included
  EXPECT_EQ(Cell(1, 256), "256");  // the heading column is untouched
}

TEST_F(PlainTabTextTest, WidthsNeverShrinkBelowTwoColumns) {
  Read("\t\n\t\n");
  EXPECT_EQ(doc.grid.ColWidth(2), 17);
  EXPECT_EQ(Cell(2, 1), "");
}

}  // namespace
}  // namespace tabulon

namespace tabulon {
namespace {

using testing::kSampleAscii;
using testing::kSampleBox;
using testing::SjText;
class GeneratedTableTest : public ::testing::Test {
 protected:
  GeneratedTableTest() { SetUpGrid(doc); }
  ReadReport Read(const std::string& text) { return ReadClipboardText(doc, text); }
  const std::string& Cell(int c, int r) const { return doc.grid.Cell(c, r); }
  bool On(Option c) const { return doc.options.Checked(c); }

  // The sample's cells, widths and heading options came back.
  void ExpectSample() {
    EXPECT_EQ(doc.options.Title(), "Plan");
    EXPECT_TRUE(On(Option::ColumnHeadings) && On(Option::RowHeadings) && On(Option::Title));
    EXPECT_EQ(Cell(2, 1), "x");
    EXPECT_EQ(Cell(3, 1), "yy");
    EXPECT_EQ(Cell(2, 2), "12");
    EXPECT_EQ(Cell(3, 2), "z");
    EXPECT_EQ(Cell(0, 1), "");
    EXPECT_EQ(Cell(0, 2), "");
    EXPECT_EQ(Cell(2, 3), "");
    EXPECT_EQ(doc.grid.ColWidth(2), 23);
    EXPECT_EQ(doc.grid.ColWidth(3), 29);
    EXPECT_EQ(doc.grid.ColWidth(4), 17);
  }
  Document doc;
};

TEST_F(GeneratedTableTest, AsciiSample) {
  EXPECT_EQ(Read(SjText(kSampleAscii)).kind, ReadReport::Kind::GeneratedTable);
  ExpectSample();
  EXPECT_TRUE(On(Option::AsciiRules));
  EXPECT_EQ(doc.options.Position(), 14);
  EXPECT_TRUE(On(Option::Trim));
  EXPECT_FALSE(On(Option::FixedWidth));
}

TEST_F(GeneratedTableTest, BoxSampleAndItsCWrapping) {
  Read(SjText(kSampleBox));
  ExpectSample();
  EXPECT_TRUE(On(Option::BoxRules));
  EXPECT_EQ(doc.options.Position(), 19);

  SetUpGrid(doc);
  std::string wrapped = SjText(kSampleBox, "  ", "/*");
  wrapped.insert(wrapped.size() - 2, "*/");
  Read(wrapped);
  ExpectSample();
  EXPECT_TRUE(On(Option::BoxRules));
  EXPECT_EQ(doc.options.Position(), 21);
}

TEST_F(GeneratedTableTest, BasicWrappingInBothStyles) {
  Read(SjText(kSampleAscii, "'"));
  ExpectSample();
  EXPECT_TRUE(On(Option::AsciiRules));
  SetUpGrid(doc);
  Read(SjText(kSampleBox, "'"));
  ExpectSample();
  EXPECT_TRUE(On(Option::BoxRules));
}

TEST_F(GeneratedTableTest, BasicBoxTableWithAnEmptyLine) {
  std::string text = SjText(kSampleBox, "'");
  text.insert(text.rfind("'"), "\r\n");  // an empty line before the bottom line
  Read(text);
  ExpectSample();
  EXPECT_EQ(Cell(2, 3), "");  // the empty line is a row of its own
  EXPECT_EQ(Cell(0, 3), std::string(ContinuationMark));
}

TEST_F(GeneratedTableTest, TopLineLengthSetsTheWidthBelow99Only) {
  const std::string rule = "+" + std::string(58, '-') + "+";
  Read("+-^--=---^" + rule.substr(10) + "\r\n|x" + std::string(57, ' ') + "|\r\n" + rule + "\r\n");
  EXPECT_EQ(doc.options.Position(), 60);
  EXPECT_TRUE(On(Option::Trim));
  EXPECT_EQ(Cell(2, 1), "x");
  doc = Document();
  SetUpGrid(doc);
  const std::string wide = "+" + std::string(97, '-') + "+";
  Read("+-^--=---^" + wide.substr(10) + "\r\n|x\r\n" + wide + "\r\n");
  EXPECT_EQ(doc.options.Position(), 99);
  EXPECT_FALSE(On(Option::Trim));
}

TEST_F(GeneratedTableTest, TrailingEmptyLineIsTakenForTheLastLine) {
  Read(SjText(kSampleAscii) + "\r\n");
  ExpectSample();  // the "+" bottom line is skipped as a rule
  SetUpGrid(doc);
  Read(SjText(kSampleBox) + "\r\n");
  // In the box style the bottom line becomes one more row, read like data.
  EXPECT_EQ(Cell(2, 3), Sj("─-"));
  EXPECT_EQ(Cell(3, 3), Sj("──"));
  EXPECT_EQ(Cell(0, 3), std::string(ContinuationMark));
}

TEST_F(GeneratedTableTest, ContinuationMarksComeFromMissingRules) {
  Read(SjText(
      {"+-^--=-=-^---+", "|  1|a  |b   |", "|  2|c  |d+  |", "|  3|e  |f   |", "+---+---+----+"}));
  EXPECT_EQ(Cell(0, 1), "");
  EXPECT_EQ(Cell(0, 2), std::string(ContinuationMark));
  // A "+" inside a cell makes its line count as a rule line.
  EXPECT_EQ(Cell(0, 3), "");
  EXPECT_EQ(Cell(3, 2), "d+");
  EXPECT_EQ(Cell(2, 1), "a");  // widths from the bottom line, the only rule
}

TEST_F(GeneratedTableTest, WithoutARuleLineEveryRowReadsEmpty) {
  doc.grid.SetCell(5, 1, "old");
  Read(SjText({"+-^--=---^-+", "|x  |", "|y  |"}));
  EXPECT_EQ(Cell(2, 1), "");
  EXPECT_EQ(Cell(5, 1), "");  // every column of a row read is rewritten
  EXPECT_EQ(Cell(0, 1), "");
}

TEST_F(GeneratedTableTest, OneRowWithoutHeadingsKeepsItsLastColumnThroughBraceAndSlash) {
  for (const char* close : {"-}", "*/"}) {
    SetUpGrid(doc);
    const std::string open = close[0] == '-' ? "{-" : "/*";
    Read(open + "^--=-=-^+\r\n|  1|x |12|\r\n+---+--+-" + close + "\r\n");
    EXPECT_EQ(Cell(2, 1), "x") << close;
    EXPECT_EQ(Cell(3, 1), "12") << close;
    EXPECT_EQ(doc.grid.ColWidth(3), 17) << close;
  }
}

// A data line whose bars no longer stand where the rule line puts them (a
// cell typed into by hand) reads between its own bars; the others as ever.
TEST_F(GeneratedTableTest, LinesTouchedByHandReadBetweenTheirOwnBars) {
  const struct {
    std::vector<std::string_view> table;
    std::vector<std::string_view> row1;  // cells (2, 1), (3, 1), (4, 1)
  } cases[] = {
      // A cell lengthened, a bar's place inside a double-width character.
      {{"+-^--=---^-+", "|表表|x|", "+---+-+"}, {"表表", "x", ""}},
      // Shortened, leading blanks kept; a lost closing bar keeps its text.
      {{"+-^--=---^---+", "| a|b", "+----+---+"}, {" a", "b", ""}},
      // Bars where the rule says: by position, a "|" inside a cell kept.
      {{"+-^--=---^--+", "|a||c     |", "+--+------+"}, {"a|", "c", ""}},
  };
  for (const auto& c : cases) {
    SetUpGrid(doc);
    Read(SjText(c.table));
    for (int col = 2; col <= 4; ++col) {
      EXPECT_EQ(Cell(col, 1), Sj(c.row1[col - 2])) << c.table[1] << " column " << col;
    }
  }
}

TEST_F(GeneratedTableTest, WhatDoesNotComeBackWhole) {
  // Columns narrower than two come back two wide.
  Read(SjText({"+-^--=---^+-+", "|a||b|", "+-++-+"}));
  EXPECT_EQ(Cell(2, 1), "a");
  EXPECT_EQ(Cell(4, 1), "b");
  EXPECT_EQ(doc.grid.ColWidth(2), 17);
  EXPECT_EQ(doc.grid.ColWidth(3), 17);
  // A box title wider than the frame is read between its own bars.
  SetUpGrid(doc);
  Read(SjText({"┌^------^──┐", "│Longer title here│", "├──┤", "│ab  │", "└──┘"}));
  EXPECT_EQ(doc.options.Title(), "Longer title here");
}

TEST_F(GeneratedTableTest, RowsBeyondTheGridAreLeftOut) {
  std::string text = "+-^--=---^-+\r\n+--+\r\n";
  for (int r = 0; r < 260; ++r) text += "|" + std::to_string(r % 10) + " |\r\n";
  text += "+--+\r\n";
  const ReadReport report = Read(text);
  EXPECT_EQ(report.rowsLeftOut, 4);
  EXPECT_EQ(Cell(2, 256), "5");
}

class WrappedTabTextTest : public GeneratedTableTest {};

TEST_F(WrappedTabTextTest, FormABasicWithoutTitle) {
  EXPECT_EQ(Read("'x \tyy\t\r\n'12\tz\t\r\n").kind, ReadReport::Kind::WrappedTabText);
  EXPECT_EQ(Cell(2, 1), "x");
  EXPECT_EQ(Cell(3, 2), "z");
  EXPECT_EQ(Cell(2, 2), "12");  // numbers are not right-aligned here
  EXPECT_FALSE(On(Option::Title));
  EXPECT_FALSE(On(Option::Ruled));
  EXPECT_FALSE(On(Option::ColumnHeadings) || doc.options.Enabled(Option::ColumnHeadings));
}

TEST_F(WrappedTabTextTest, FormBBasicWithTitle) {
  Read(SjText({"' 計画", "'x  \tyy  \t", "'12 \tz   \t"}));
  EXPECT_EQ(doc.options.Title(), Sj("計画"));
  EXPECT_TRUE(On(Option::Title));
  EXPECT_FALSE(On(Option::Ruled));
  EXPECT_EQ(Cell(3, 1), "yy");
  EXPECT_EQ(Cell(2, 2), "12");
  // Only the comment mark goes: an apostrophe of the title itself stays.
  Read("' Bob's list\r\n'x\t\r\n");
  EXPECT_EQ(doc.options.Title(), "Bob's list");
  Read("'bare\r\n'x\t\r\n");
  EXPECT_EQ(doc.options.Title(), "bare");
  Read("'a' b\r\n'x\t\r\n");  // the mark is the one the line begins with
  EXPECT_EQ(doc.options.Title(), "a' b");
}

TEST_F(WrappedTabTextTest, FormCBraceAndSlashStar) {
  Read("{Plan\r\nx  \tyy  \t\r\n12 \tz   \t\r\n}\r\n");
  EXPECT_EQ(doc.options.Title(), "Plan");
  EXPECT_EQ(Cell(2, 2), "12");
  EXPECT_EQ(Cell(2, 3), "");       // the emptied closing line
  Read("{a { b\r\nx\t\r\n}\r\n");  // a "{ " in the title is the title's
  EXPECT_EQ(doc.options.Title(), "a { b");
  SetUpGrid(doc);
  Read("/*\r\nx\t\r\n*/\r\n");
  EXPECT_EQ(doc.options.Title(), "");
  EXPECT_FALSE(On(Option::Title));
  EXPECT_EQ(Cell(2, 1), "x");
}

TEST_F(WrappedTabTextTest, SecondLineWithoutTabIsReadAsNothing) {
  EXPECT_EQ(Read("{Plan\r\nno tabs\r\n}").kind, ReadReport::Kind::Nothing);
  EXPECT_TRUE(On(Option::Ruled));
}

}  // namespace
}  // namespace tabulon

// Spreadsheet cells with line breaks or double quotes, quoted as a
// spreadsheet copies them.
namespace tabulon {
namespace {

using testing::Sj;

Document Read(std::string_view text, ReadReport* report = nullptr) {
  Document doc;
  SetUpGrid(doc);
  const ReadReport r = ReadClipboardText(doc, text);
  if (report) *report = r;
  return doc;
}

// The mark and cells 2 to 4 of a row, in UTF-8, joined by "|".
std::string Row(const Document& doc, int r) {
  std::string s = testing::Utf8(doc.grid.Cell(0, r));
  for (int c = kFirstDataCol; c <= 4; ++c) s += "|" + testing::Utf8(doc.grid.Cell(c, r));
  return s;
}

TEST(QuotedCells, RecordsTakeTheRowsOfTheirTallestField) {
  const struct {
    const char* text;
    std::vector<std::string> rows;  // from row 1
  } cases[] = {
      {"品名\t説明\t数量\r\nりんご\t\"青森産\r\n甘い\"\t3\r\n",
       {"|品名|説明|数量", "|りんご|青森産|   3", "↑||甘い|", "|||"}},
      {"a\t\"say \"\"hi\"\"\"\r\nb\t\"\"\"x\"\"\"", {"|a|say \"hi\"|", "|b|\"x\"|"}},
      {"a\t\"x\r\ny\nz\rw\"\r\nb\t", {"|a|x|", "↑||y|", "↑||z|", "↑||w|", "|b| |"}},
      {"\"p\nq\"\t\"1\n22\n\n3\"\t!\nr\ts\tt",  // the first line holds no TAB
       {"|p| 1|!", "↑|q|22|", "↑||  |", "↑|| 3|", "|r|s|t"}},
      {"a\t\"x\ny\"\t\r\nb\tc\td\r\n", {"|a|x| ", "↑||y|", "|b|c|d"}},
  };
  for (const auto& c : cases) {
    ReadReport report;
    const Document doc = Read(Sj(c.text), &report);
    EXPECT_EQ(report.kind, ReadReport::Kind::PlainTabText) << c.text;
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
      EXPECT_EQ(Row(doc, static_cast<int>(r) + 1), c.rows[r]) << c.text << " row " << r + 1;
    }
  }
  ReadReport report;
  Read("\"a\nb\"\r\nc\td\r\n", &report);  // no TAB in the first record: as before
  EXPECT_EQ(report.kind, ReadReport::Kind::Nothing);
}

TEST(QuotedCells, RowsPastTheGridAndFieldsPastColumn36AreCounted) {
  std::string text = std::string(35, '\t') + "\"x\ny\"\t\"z\"\"\"\r\n";
  for (int r = 3; r <= 255; ++r) text += "n\tv\r\n";
  text += "a\t\"1\n2\n333333\"\r\nb\tc\r\n\r\n";
  ReadReport report;
  const Document doc = Read(text, &report);
  EXPECT_EQ(Row(doc, 2), "↑|||");
  EXPECT_EQ(Row(doc, 256), "|a|     1|");  // widths count the rows left out
  EXPECT_EQ(report.rowsLeftOut, 3);        // two rows of the record and one more
  EXPECT_EQ(report.fieldsLeftOut, 2);      // each field once
}

// Texts whose quotes open no quoted field, some chosen and many random,
// read as the reader that takes every quote for text reads them; behind a
// quoted record that changes no width they read the same again.
TEST(QuotedCells, OtherQuotesAreText) {
  std::vector<std::string> texts = {
      "a\t\"\tb\r\nc\t\"\td\r\ne\t\"\tf\r\n",  // a column of lone quotes
      "\"Hello\" world\t\"abc\"\r\na\"b\t\"\"\r\n",
      "x\t\"\r\n\"\r\n",           // only a line break between
      "a\t\"b\tc\r\nd\"\te\r\n",   // a TAB between
      "a\t\"\r\nb\"\tc\r\n",       // begins with a line break
      "a\t\"b\r\n\"\tc\r\n",       // ends with one
      "a\t\"b\r\nc\r\n",           // never closed
      "a\t\"b\r\nc\" d\tx\r\n",    // a lone quote inside
      "a\t\"b\"\"\tc\r\nd\"\r\n",  // the quote before the TAB is doubled
  };
  const std::string fields[] = {"",     "x",    "12",      " 5 ", Sj("表"),         "\"",
                                "\"\"", "a\"b", "\"abc\"", "  ",  "\"Hello\" world"};
  std::mt19937 rng(17);
  auto pick = [&](const auto& from) { return std::string(from[rng() % std::size(from)]); };
  while (texts.size() < 400) {
    std::string& text = texts.emplace_back(pick(fields));
    for (int lines = 2 + rng() % 10; lines > 0; --lines) {
      for (int n = 1 + rng() % 6; n > 0; --n) text += "\t" + pick(fields);
      text += pick(std::array{"\r\n", "\n", "\r"});
    }
  }
  for (const std::string& text : texts) {
    Document today;
    SetUpGrid(today);
    const std::vector<std::string> lines = SplitLines(text);
    const ReadReport want = ReadPlainTabText(today, lines, false);
    ReadReport got;
    const int rows = static_cast<int>(lines.size());
    for (int behind : {0, 1}) {
      const Document doc = Read(behind ? text + std::string(35, '\t') + "\"q\nr\"" : text, &got);
      for (int c = 0; c < kColCount; ++c) {
        ASSERT_EQ(doc.grid.ColWidth(c), today.grid.ColWidth(c)) << text;
        for (int r = 0; r <= (behind ? rows : kLastRow); ++r)
          ASSERT_EQ(doc.grid.Cell(c, r), today.grid.Cell(c, r)) << c << "," << r << " " << text;
      }
      ASSERT_EQ(got.fieldsLeftOut, want.fieldsLeftOut + behind) << text;
    }
  }
}

}  // namespace
}  // namespace tabulon
