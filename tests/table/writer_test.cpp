#include "table/writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "document/blanks.h"
#include "document/document.h"
#include "document/text_columns.h"
#include "support/text.h"
#include "table/format.h"

namespace tabulon {
namespace {

using testing::Sj;
using testing::Utf8Lines;
using Lines = std::vector<std::string>;

class WriterTest : public ::testing::Test {
 protected:
  WriterTest() { SetUpGrid(doc); }

  // The sample grid: columns a (3 wide) and b (4 wide), two rows, title "Plan",
  // the table ended after the second column by the blank-column cut.
  void SampleGrid() {
    doc.grid.SetColWidth(2, 23);
    doc.grid.SetColWidth(3, 29);
    doc.grid.SetCell(2, 1, "x");
    doc.grid.SetCell(3, 1, "yy");
    doc.grid.SetCell(2, 2, "12");
    doc.grid.SetCell(3, 2, "z");
    doc.options.SetTitle("Plan");
    doc.options.SetChecked(Option::Trim, true);
  }
  Lines Write() {
    WrittenTable written = WriteTable(doc);
    T = written.ruleWidth;
    table = std::move(written.lines);
    return Utf8Lines(table);
  }

  Document doc;
  int T = -1;
  std::vector<std::string> table;  // as written, inside text
};

TEST(BoxRule, FillsExactlyNColumns) {
  EXPECT_EQ(MakeBoxRule(0), "");
  EXPECT_EQ(MakeBoxRule(3), Sj("─-"));
  EXPECT_EQ(MakeBoxRule(4), Sj("──"));
  EXPECT_EQ(MakeBoxRule(-2), "");
}

TEST_F(WriterTest, AsciiSampleWithTitleAndHeadings) {
  SampleGrid();
  EXPECT_EQ(Write(), Lines(testing::kSampleAscii.begin(), testing::kSampleAscii.end()));
  EXPECT_EQ(T, 14);
}

TEST_F(WriterTest, AsciiSampleWithoutTitlePutsMarkerOverRule) {
  SampleGrid();
  doc.options.SetChecked(Option::Title, false);
  const Lines lines = Write();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "+-^--===-^---+");
  EXPECT_EQ(lines[1], "| ＼|a  |b   |");
}

TEST_F(WriterTest, BoxSampleWithTitleAndHeadings) {
  SampleGrid();
  doc.options.SetChecked(Option::BoxRules, true);
  EXPECT_EQ(Write(), Lines(testing::kSampleBox.begin(), testing::kSampleBox.end()));
  EXPECT_EQ(T, 19);
}

TEST_F(WriterTest, BoxTopLineWithoutTitleContinuesTheRule) {
  SampleGrid();
  doc.options.SetChecked(Option::BoxRules, true);
  doc.options.SetChecked(Option::Title, false);
  EXPECT_EQ(Write()[0], "┌^--===-^-┬──┐");
}

TEST_F(WriterTest, BoxTopLineWhenACharacterSpansColumnsTenAndEleven) {
  doc.grid.SetColWidth(2, 11);  // one display column
  doc.grid.SetCell(2, 1, "x");
  doc.options.SetChecked(Option::BoxRules, true);
  doc.options.SetChecked(Option::Title, false);
  doc.options.SetChecked(Option::Trim, true);
  const Lines lines = Write();
  // U is "├──┬-┬─┤": its second "┬" spans columns 10 and 11, so a "-"
  // takes its place and U goes on from column 12.
  EXPECT_EQ(lines[2], "├──┼-┼─┤");
  EXPECT_EQ(lines[0], "┌^--===-^-─┐");
}

TEST_F(WriterTest, ContinuationMarkJoinsTwoGridRows) {
  SampleGrid();
  doc.grid.SetCell(0, 2, std::string(ContinuationMark));
  const Lines lines = Write();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[5], "|  1|x  |yy  |");
  EXPECT_EQ(lines[6], "|  2|12 |z   |");
  EXPECT_EQ(lines[7], "+---+---+----+");
}

TEST_F(WriterTest, NoRuleStyleEndsEveryFieldWithTab) {
  SampleGrid();
  doc.options.SetChecked(Option::Ruled, false);
  EXPECT_EQ(Write(), (Lines{" Plan", "x  \tyy  \t", "12 \tz   \t"}));
  EXPECT_EQ(T, 0);
}

TEST_F(WriterTest, NoRuleStyleKeepsBlankMiddleColumnAndIgnoresWidthOptions) {
  doc.grid.SetCell(2, 1, "p");
  doc.grid.SetCell(4, 1, "q");
  doc.options.SetChecked(Option::FixedWidth, true);
  doc.options.SetPosition(12);
  doc.options.SetChecked(Option::Ruled, false);
  doc.options.SetChecked(Option::Title, false);
  EXPECT_EQ(Write(), (Lines{"p \t  \tq \t"}));
}

TEST_F(WriterTest, EmptyGridFillsTheFullWidth) {
  const Lines ascii = Write();
  ASSERT_EQ(ascii.size(), 7u);
  EXPECT_EQ(T, 99);
  for (const std::string& line : table) EXPECT_EQ(Columns(line), 99) << line;
  // 30 data columns of width 2 and a last one of width 3: headings a to z, 1 to 5.
  std::string rule = "+---+";
  for (int i = 0; i < 30; ++i) rule += "--+";
  EXPECT_EQ(ascii[2], rule + "---+");
  EXPECT_NE(ascii[3].find("|5  |"), std::string::npos);
  EXPECT_EQ(ascii[3].find("|6"), std::string::npos);

  doc.options.SetChecked(Option::BoxRules, true);
  const Lines box = Write();
  EXPECT_EQ(T, 99);
  const std::string boxRule = table[2];
  EXPECT_EQ(Columns(boxRule), 99);
  EXPECT_TRUE(boxRule.ends_with("-" + std::string(box::RightT)));  // last width 1
  EXPECT_NE(box[3].find("w│"), std::string::npos);  // 23 data columns: a to w
  EXPECT_EQ(box[3].find("x"), std::string::npos);
}

TEST_F(WriterTest, BlankColumnCutOnEmptyGrid) {
  doc.options.SetChecked(Option::Trim, true);
  EXPECT_EQ(Write()[2], "+---+--+--+");
  doc.options.SetChecked(Option::BoxRules, true);
  EXPECT_EQ(Write()[2], "├──┬─┤");
  EXPECT_EQ(T, 12);
}

TEST_F(WriterTest, WidthLimitWidensTheLastColumn) {
  doc.options.SetChecked(Option::FixedWidth, true);
  doc.options.SetPosition(12);
  const Lines lines = Write();
  EXPECT_EQ(lines[2], "+---+--+---+");
  for (const std::string& line : table) EXPECT_EQ(Columns(line), 12);
}

TEST_F(WriterTest, WidthLimitNarrowsTheLastColumnWithHashes) {
  doc.grid.SetCell(3, 1, "abcdef");
  doc.options.SetChecked(Option::Title, false);
  doc.options.SetChecked(Option::FixedWidth, true);
  doc.options.SetPosition(12);
  EXPECT_EQ(Write(), (Lines{"+-^--===-^-+", "| ＼|a |b  |", "+---+--+---+", "|  1|  |###|",
                            "+---+--+---+"}));
}

TEST_F(WriterTest, NarrowedLastColumnKeepsShortTextAndDropsTrailingBlanks) {
  doc.grid.SetCell(3, 1, "abcdef");
  doc.grid.SetCell(3, 2, "ab      ");
  doc.grid.SetCell(2, 3, "k");
  doc.grid.SetCell(3, 3, "  ");
  doc.options.SetChecked(Option::FixedWidth, true);
  doc.options.SetPosition(12);
  const Lines lines = Write();
  EXPECT_EQ(lines[7], "|  2|  |ab |");
  EXPECT_EQ(lines[9], "|  3|k |   |");
}

TEST_F(WriterTest, NarrowedLastColumnWithDoubleWidthText) {
  // Column 2 is 15 wide; with the limit at 12 and no row headings its field
  // is 10 wide: four kanji (8 columns) fit, seven (14 columns) become "#".
  doc.grid.SetColWidth(2, 95);
  doc.grid.SetCell(2, 1, Sj("一二三四"));
  doc.options.SetChecked(Option::RowHeadings, false);
  doc.options.SetChecked(Option::FixedWidth, true);
  doc.options.SetPosition(12);
  EXPECT_EQ(WriteTable(doc).lines[5], "|" + Sj("一二三四") + "  |");
  doc.grid.SetCell(2, 1, Sj("一二三四五六七"));
  EXPECT_EQ(WriteTable(doc).lines[5], "|##########|");
}

TEST_F(WriterTest, TitleWiderThanTheCutTableAddsColumns) {
  doc.grid.SetCell(2, 1, "ab");
  doc.options.SetTitle("Twenty characters!!!");
  doc.options.SetChecked(Option::Trim, true);
  doc.options.SetChecked(Option::RowHeadings, false);
  Write();
  EXPECT_GE(T, 22);
  EXPECT_LT(T, 25);
  EXPECT_EQ(table[1], "|Twenty characters!!!" + std::string(T - 22, ' ') + "|");
}

TEST_F(WriterTest, TitleLongerThanTheTableIsWrittenWhole) {
  doc.options.SetTitle(std::string(30, 'T'));
  doc.options.SetChecked(Option::FixedWidth, true);
  doc.options.SetPosition(12);
  Write();
  EXPECT_EQ(T, 12);
  EXPECT_EQ(table[1], "|" + std::string(30, 'T') + "|");
}

TEST_F(WriterTest, BlankRowsInsideTheUsedRangeAreWritten) {
  doc.grid.SetCell(2, 1, "a");
  doc.grid.SetCell(2, 5, "e");
  doc.options.SetChecked(Option::Trim, true);
  const Lines lines = Write();
  ASSERT_EQ(lines.size(), 5u + 2 * 5);
  EXPECT_EQ(lines[9], "|  3|  |  |");
}

TEST_F(WriterTest, WideningTouchesOnlyUsedColumnsAndSetsCurrentCell) {
  doc.grid.SetCell(3, 1, "abcde");
  doc.grid.SetCell(5, 1, "   ");
  Write();
  EXPECT_EQ(doc.grid.ColWidth(3), 35);
  EXPECT_EQ(doc.grid.ColWidth(5), 17);
  EXPECT_EQ(doc.CurCol, 3);
  EXPECT_EQ(doc.CurRow, 0);
}

TEST_F(WriterTest, ZeroWidthColumnIsTwoAdjacentSeparators) {
  doc.grid.SetColWidth(2, 5);
  doc.options.SetChecked(Option::RowHeadings, false);
  doc.options.SetChecked(Option::Trim, true);
  doc.grid.SetCell(3, 1, "");
  const Lines lines = Write();
  EXPECT_EQ(lines[2].substr(0, 3), "++-");
}

TEST_F(WriterTest, WideHeadingsPushTheLineButNeverCrash) {
  doc.grid.SetCell(1, 1, std::string(120, 'h'));
  doc.grid.SetCell(2, 0, std::string(150, 'H'));
  doc.grid.SetCell(2, 1, "v");
  for (bool box : {false, true}) {
    doc.options.SetChecked(box ? Option::BoxRules : Option::AsciiRules, true);
    for (int width : {12, 40, 99}) {
      doc.options.SetChecked(Option::FixedWidth, true);
      doc.options.SetPosition(width);
      EXPECT_NE(WriteTable(doc).lines[5].find(std::string(120, 'h')), std::string::npos);
    }
  }
}

TEST_F(WriterTest, RewritingGivesTheSameText) {
  SampleGrid();
  const Lines first = Write();
  EXPECT_EQ(Write(), first);
}

// The writer's last used row and column, as their definition states them:
// the cells of a row (a column) joined, each followed by CR LF, then stripped
// of blanks at both ends, wider than 3 (2) columns. The writer answers from
// the grid's counts; this joins the texts.
int JoinedStrippedColumns(const Grid& g, bool row, int index) {
  std::string joined;
  for (int i = 0; i < (row ? kColCount : kRowCount); ++i) {
    joined += row ? g.Cell(i, index) : g.Cell(index, i);
    joined += "\r\n";
  }
  return Columns(StripText(joined));
}

TEST(GridCounts, AnswerTheWritersLastUsedRowAndColumn) {
  std::mt19937 random(7);
  const std::string texts[] = {"", " ", "x", "xy", "xyz", "wxyz", " x ", Sj("↑")};
  for (int round = 0; round < 300; ++round) {
    Document doc;
    SetUpGrid(doc);
    Grid& g = doc.grid;
    // Blank headings too, where a heading no longer counts as a used cell.
    for (int n = static_cast<int>(random() % 3); n > 0; --n) {
      g.SetCell(1, kLastRow - static_cast<int>(random() % 3), random() % 2 ? "" : " ");
      g.SetCell(kLastCol - static_cast<int>(random() % 3), 0, random() % 2 ? "" : " ");
    }
    for (int n = static_cast<int>(random() % 6); n > 0; --n) {
      // Mostly near the last row and column, where the searches end.
      const int c = random() % 2 ? kLastCol - static_cast<int>(random() % 3)
                                 : static_cast<int>(random() % kColCount);
      const int r = random() % 2 ? kLastRow - static_cast<int>(random() % 3)
                                 : static_cast<int>(random() % kRowCount);
      g.SetCell(c, r, texts[random() % std::size(texts)]);
    }
    int lastRow = 0;
    for (int r = kLastRow; r >= kFirstDataRow; --r) {
      if (JoinedStrippedColumns(g, true, r) > 3) {
        lastRow = r;
        break;
      }
    }
    int lastCol = 0;
    for (int c = kLastCol; c >= kFirstDataCol; --c) {
      if (JoinedStrippedColumns(g, false, c) > 2) {
        lastCol = c;
        break;
      }
    }
    ASSERT_EQ(FindLastRow(g), lastRow) << "round " << round;
    ASSERT_EQ(FindLastCol(g), lastCol) << "round " << round;
  }
}

// No used row or column is 0, which is no data row or column; the table
// still has row 1, and the numbering commands then number nothing.
TEST(GridCounts, NoneUsedIsZeroAndTheTableStillHasRowOne) {
  Document doc;
  SetUpGrid(doc);
  doc.grid.SetCell(1, 1, "");
  doc.grid.SetCell(2, 1, "ab");  // too short to use row 1 or column 2
  doc.grid.SetCell(2, 0, "");
  EXPECT_EQ(FindLastRow(doc.grid), 0);
  EXPECT_EQ(FindLastCol(doc.grid), 0);
  doc.options.SetChecked(Option::Title, false);
  doc.options.SetChecked(Option::Ruled, false);
  EXPECT_EQ(WriteTable(doc).lines, std::vector<std::string>{""});
  doc.options.SetChecked(Option::Ruled, true);
  const std::vector<std::string> ruled = WriteTable(doc).lines;
  ASSERT_EQ(ruled.size(), 3u);
  EXPECT_EQ(ruled[1].substr(0, 3), "|ab") << ruled[1];
}

// A row whose cells beside the heading are all blank is written from the
// first such row: it must come out as a row written on its own does. A
// text in its column 0, which no row line shows, makes it written on its own.
TEST(GridCounts, BlankRowsAreWrittenAsAnyOtherRow) {
  std::mt19937 random(9);
  const std::string texts[] = {"", " ", "x", "12", "abcdefgh", Sj("亜"), "  "};
  for (int round = 0; round < 200; ++round) {
    Document doc;
    SetUpGrid(doc);
    for (int n = static_cast<int>(random() % 30); n > 0; --n) {
      doc.grid.SetCell(kFirstDataCol + static_cast<int>(random() % 8),
                       1 + static_cast<int>(random() % 40), texts[random() % std::size(texts)]);
    }
    // Headings that fit their field, and some that do not.
    for (int n = static_cast<int>(random() % 4); n > 0; --n) {
      doc.grid.SetCell(1, 1 + static_cast<int>(random() % 40),
                       random() % 2 ? std::string(random() % 5, '9') : "");
    }
    OptionState& o = doc.options;
    o.SetChecked(Option::BoxRules, random() % 2 == 0);
    o.SetChecked(Option::RowHeadings, random() % 2 == 0);
    o.SetChecked(Option::Trim, random() % 2 == 0);
    Document alone = doc;
    const WrittenTable written = WriteTable(doc);
    for (int r = kFirstDataRow; r <= std::max(FindLastRow(doc.grid), kFirstDataRow); ++r) {
      if (doc.grid.NonBlankCellsBesideHeading(r) == 0) alone.grid.SetCell(0, r, "x");
    }
    ASSERT_EQ(written.lines, WriteTable(alone).lines) << "round " << round;
  }
}

}  // namespace
}  // namespace tabulon
