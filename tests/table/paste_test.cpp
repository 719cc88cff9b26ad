// "貼り付け": which reading a clipboard text gets, where it lands, and what it
// leaves alone.
#include "table/paste.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "document/blanks.h"
#include "support/text.h"
#include "table/writer.h"

namespace tabulon {
namespace {

using testing::Sj;
using testing::SjText;
using K = PasteKind;
using Cells = std::vector<std::string>;

std::string At(int c, int r) {
  return std::to_string(c) + "/" + std::to_string(r);
}

// Every data cell naming its place; the recorded cell at (curCol, curRow).
Document Filled(int curCol, int curRow) {
  Document doc;
  SetUpGrid(doc);
  for (int c = kFirstDataCol; c <= kLastCol; ++c)
    for (int r = kFirstDataRow; r <= kLastRow; ++r) doc.grid.SetCell(c, r, At(c, r));
  doc.CurCol = curCol;
  doc.CurRow = curRow;
  return doc;
}

// The cells of the whole grid that differ, as "c/r=new text".
Cells Changed(const Document& before, const Document& after) {
  Cells out;
  for (int c = 0; c < kColCount; ++c)
    for (int r = 0; r < kRowCount; ++r)
      if (before.grid.Cell(c, r) != after.grid.Cell(c, r))
        out.push_back(At(c, r) + "=" + after.grid.Cell(c, r));
  return out;
}

TEST(PasteKindOf, TheShapeOfTheTextChoosesTheReading) {
  const struct {
    std::string text;
    K kind;
  } cases[] = {
      {"", K::Nothing},
      {"\r\n", K::OneValue},
      {"x=^-y", K::OneValue},  // the marker without a table's prefix
      {"a\nb", K::Lines},
      {"Don't\tx\nb", K::Block},  // an apostrophe after the first byte is text
      {"a\t'26", K::Block},
      {"'a\tb", K::WrappedTabText},
      {"title\na\tb", K::WrappedTabText},
      {"\"a\nb\"\tc", K::Block},  // a quoted first cell with a TAB after it
      {"\"a\nb\"\nc", K::Lines},  // without a TAB quotes are text
      {SjText(testing::kSampleAscii), K::Table},
      {SjText(testing::kSampleAscii, "'"), K::Table},  // marker at column 4
      {SjText(testing::kSampleBox), K::Table},
      {SjText(testing::kSampleBox, "  ", "/*"), K::Lines},  // marker at column 5
      {"a|b\n-|-\n1\t|2", K::MarkdownTable},                // with a TAB or not
      {"T\n\n|a|\n|-|", K::MarkdownTable},                  // behind a title line
      // No Markdown table to GitHub: no bar, a heading's underline, a list
      // item, cell counts that differ, a paragraph's line above.
      {"a\n:-", K::Lines},
      {"|a|\n---", K::Lines},
      {"a|b\n- | -", K::Lines},
      {"a|b\n-|-|-", K::Lines},
      {"T\nx\n|a|\n|-|", K::Lines},
  };
  for (const auto& c : cases) {
    Document doc = Filled(4, 10);
    EXPECT_EQ(PasteText(doc, c.text), c.kind) << c.text;
  }
}

TEST(PasteLines, GoDownTheRecordedColumnUntrimmedAndFitIt) {
  Document doc = Filled(4, 10);
  doc.grid.SetColWidth(4, 200);
  const Document before = doc;
  PasteText(doc, "a\r\nbbbbbbbbbb\r\n c \r\n");
  EXPECT_EQ(Changed(before, doc), (Cells{"4/10=a", "4/11=bbbbbbbbbb", "4/12= c "}));
  EXPECT_EQ(doc.grid.ColWidth(4), 6 * 10 + 5);
  doc.CurRow = 255;
  PasteText(doc, "p\nq\nr\ns");  // lines below the last row are left out
  EXPECT_EQ(doc.grid.Cell(4, 256), "q");
}

TEST(PasteOneValue, FillsTheSelectionAndFitsEachColumn) {
  Document doc = Filled(20, 20);
  doc.options.SetTitle("keep");
  doc.grid.SetSelection({5, 4, 3, 2});  // corners either way round
  for (int c = 2; c <= 6; ++c) doc.grid.SetColWidth(c, 200);
  const Document before = doc;
  PasteText(doc, "x=^-y\r\n");
  Cells want;
  for (int c = 3; c <= 5; ++c) {
    for (int r = 2; r <= 4; ++r) want.push_back(At(c, r) + "=x=^-y");
    EXPECT_EQ(doc.grid.ColWidth(c), 6 * 5 + 5) << c;
  }
  EXPECT_EQ(Changed(before, doc), want);
  EXPECT_EQ(doc.grid.ColWidth(2), 200);
  EXPECT_EQ(doc.options.Title(), "keep");
}

TEST(PasteBlock, LandsAtTheRecordedCellAndStopsAtTheGridsEdges) {
  Document doc = Filled(30, 255);
  const Document before = doc;
  PasteText(doc, "a\tb\tc\td\te\tf\tg\th\r\ni\tj\r\nk\tl\r\n");
  EXPECT_EQ(Changed(before, doc), (Cells{"30/255=a", "30/256=i", "31/255=b", "31/256=j", "32/255=c",
                                         "33/255=d", "34/255=e", "35/255=f", "36/255=g"}));
  for (int c = 0; c < 30; ++c) EXPECT_EQ(doc.grid.ColWidth(c), before.grid.ColWidth(c)) << c;
  EXPECT_EQ(doc.grid.Selection(), before.grid.Selection());
  EXPECT_EQ(doc.options.Title(), before.options.Title());
}

TEST(PasteBlock, NumbersAlignToTheWidestFieldOfTheirColumn) {
  const struct {
    std::string text;
    Cells column;
  } cases[] = {
      {"7\t\r\n1234\r\n", {"   7", "1234"}},
      {" 5 \t\r\n ab  \r\n", {"   5 ", " ab"}},  // numeric test on the trimmed field
      {"-1,234.5\t\r\n\\9\r\n", {"-1,234.5", "      \\9"}},
      {"1/2\t\r\n12345\r\n", {"1/2", "12345"}},
      {Sj("　5\t\r\n12345\r\n"), {Sj("　5"), "12345"}},  // a full-width blank stays
  };
  for (const auto& c : cases) {
    Document doc = Filled(2, 1);
    PasteText(doc, c.text);
    EXPECT_EQ((Cells{doc.grid.Cell(2, 1), doc.grid.Cell(2, 2)}), c.column) << c.text;
  }
  Document doc = Filled(2, 256);
  PasteText(doc, "1\t\r\n12345\t\r\n");  // lines below the grid count for the width
  EXPECT_EQ(doc.grid.Cell(2, 256), "    1");
}

// A Markdown table's cells, as a user pasting a README's table expects them.
TEST(PasteBlock, AMarkdownTableGoesInAsItsCells) {
  Document doc = Filled(35, 254);
  const Document before = doc;
  PasteText(doc, "Plan\n\n| a | b\\|c | d |\n|---|--:|--|\n| x<br>y |\n| 1 | 2 | 3 |\n\nafter");
  EXPECT_EQ(Changed(before, doc), (Cells{"0/256=↑", "35/254=a", "35/255=x", "35/256=y",
                                         "36/254=b|c", "36/255=", "36/256="}));
  EXPECT_EQ(doc.options.Title(), "Plan");
}

TEST(PasteBlock, ColumnsOnlyWiden) {
  Document doc;
  SetUpGrid(doc);
  doc.CurCol = 3;
  doc.CurRow = 1;
  for (int c = 2; c <= 7; ++c) doc.grid.SetColWidth(c, 59);
  doc.grid.SetColWidth(2, 11);                   // left of the block
  doc.grid.SetColWidth(6, 22);                   // not yet snapped
  doc.grid.SetCell(7, 9, std::string(12, 'z'));  // wider than its column
  PasteText(doc, "ab\t" + std::string(15, 'w') + "\t\t\r\n");
  const int want[] = {11, 59, 6 * 15 + 5, 59, 23, 6 * 12 + 5};
  for (int c = 2; c <= 7; ++c) EXPECT_EQ(doc.grid.ColWidth(c), want[c - 2]) << c;
}

TEST(PasteBlock, QuotedCellsTakeARowPerLineJoinedByMarks) {
  const std::string mark(ContinuationMark);
  Document doc = Filled(5, 20);
  for (int r : {20, 22, 23}) doc.grid.SetCell(0, r, mark);
  const Document before = doc;
  PasteText(doc, "x\t\"a\r\nb\"\r\ny\t\"say \"\"hi\"\"\"\r\n");
  // The record over rows 20 and 21 is one table row; row 22 keeps its mark.
  EXPECT_EQ(Changed(before, doc), (Cells{"0/20=", "0/21=" + mark, "5/20=x", "5/21=", "5/22=y",
                                         "6/20=a", "6/21=b", "6/22=say \"hi\""}));
  EXPECT_EQ(doc.grid.ColWidth(6), 6 * 8 + 5);
}

TEST(PasteBlockAndLines, WriteNothingWithoutARecordedDataCell) {
  const int places[][2] = {{-1, -1}, {1, 5}, {5, 0}, {0, 3}, {37, 1}, {2, 257}};
  for (const auto& at : places) {
    for (const char* text : {"a\tb\nc", "a\nb"}) {
      Document doc = Filled(at[0], at[1]);
      const Document before = doc;
      EXPECT_EQ(PasteText(doc, text), K::Nothing) << at[0] << "," << at[1];
      EXPECT_EQ(Changed(before, doc), Cells{});
    }
  }
}

TEST(PasteTable, ReadsAgainFromRowOneAndKeepsRowsItDoesNotReach) {
  Document source;
  SetUpGrid(source);
  source.grid.SetCell(2, 1, "x");
  source.grid.SetCell(3, 2, "12");
  source.options.SetTitle("Plan");
  std::string text;
  for (const std::string& line : WriteTable(source).lines) text += line + "\r\n";

  Document doc = Filled(20, 100);
  doc.options.SetChecked(Option::Title, false);
  EXPECT_EQ(PasteText(doc, text), K::Table);
  EXPECT_EQ((Cells{doc.grid.Cell(2, 1), doc.grid.Cell(3, 2), doc.grid.Cell(9, 1),
                   doc.grid.Cell(2, 3), doc.options.Title()}),
            (Cells{"x", "12", "", "2/3", "Plan"}));
  EXPECT_TRUE(doc.options.Checked(Option::Title));
}

TEST(PasteWrapped, RowsFromRowOneWhateverTheRecordedCell) {
  const struct {
    const char* before;
    const char* text;
    const char* title;
  } cases[] = {
      {"old", "'x\ty\r\n'c\td\r\n", ""},      // Basic without a title line
      {"old", "'it's\r\n'x\ty\r\n", "it's"},  // only the comment mark goes
      {"old", "' Bob's\r\n'x\ty\r\n", "Bob's"},
      {"old", "{New\r\nx\ty\r\n}\r\n", "New"},
      {"old", "/*\r\nx\ty\r\n*/\r\n", ""},
      {"old", "head\r\nx\ty\r\n", "old"},  // no mark: the title stays
      {" ", "head\r\nx\ty\r\n", " "},
      {"old", "{T\r\nx\r\ny\tb\r\n}\r\n", "T"},  // the second line needs no TAB
  };
  for (const auto& c : cases) {
    Document doc = Filled(20, 100);
    doc.options.SetTitle(c.before);
    EXPECT_EQ(PasteText(doc, c.text), K::WrappedTabText) << c.text;
    EXPECT_EQ(doc.options.Title(), c.title) << c.text;
    EXPECT_EQ(doc.options.Checked(Option::Title), !IsBlankText(c.title)) << c.text;
    EXPECT_FALSE(doc.options.Checked(Option::Ruled));
    EXPECT_EQ(doc.grid.Cell(2, 1), "x") << c.text;
    EXPECT_EQ(std::pair(doc.CurCol, doc.CurRow), std::pair(20, 100));
  }
}

}  // namespace
}  // namespace tabulon
