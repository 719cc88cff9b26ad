#include "table/reader.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(SplitTabFields(""), Fields{""});
  EXPECT_EQ(SplitTabFields("a\t\t b \t"), (Fields{"a", "", " b ", ""}));
}

TEST(IsNumericText, AcceptsDigitsSignsSeparatorsAndYen) {
  for (const char* s : {"", "12", "-1,234.5", "+3", "\\1,000", "..."})
    EXPECT_TRUE(IsNumericText(s)) << s;
  for (const char* s : {"1/2", " 5", "1e3", "x"}) EXPECT_FALSE(IsNumericText(s)) << s;
  EXPECT_FALSE(IsNumericText(Sj("１")));
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
  EXPECT_TRUE(doc.options.Checked(OptionControl::CheckBox5));
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
  EXPECT_EQ(Read("x\t1").kind, ReadReport::Kind::Nothing);  // one line
  EXPECT_EQ(Read("a b\nc d\n").kind, ReadReport::Kind::Nothing);
  EXPECT_EQ(Read("it's\t1\nb\t2").kind, ReadReport::Kind::PlainTabText);
  EXPECT_EQ(Cell(2, 1), "it's");
  SetUpGrid(doc);
  EXPECT_EQ(Read("'a\t1\n'b\t2").kind, ReadReport::Kind::WrappedTabText);
  EXPECT_EQ(Read("+-^--===-^-+\tx\nb\t2").kind, ReadReport::Kind::GeneratedTable);
}

TEST_F(PlainTabTextTest, TabInsideADoubleByteCharacterIsNotATab) {
  // 0x09 is never a trail byte, but a lead byte before a TAB must not hide it.
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
