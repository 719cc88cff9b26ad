#include "document/document.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/text.h"

namespace tabulon {
namespace {

using testing::Sj;

constexpr std::string_view kColHeadings = "abcdefghijklmnopqrstuvwxyz123456789";
const std::string kHiragana3 = Sj("あいう");

void ExpectDefaultHeadings(const Grid& g) {
  for (int c = kFirstDataCol; c <= kLastCol; ++c)
    EXPECT_EQ(g.Cell(c, 0), kColHeadings.substr(c - 2, 1)) << "column " << c;
  for (int r = kFirstDataRow; r <= kLastRow; ++r) {
    const std::string n = std::to_string(r);
    EXPECT_EQ(g.Cell(1, r), std::string(3 - n.size(), ' ') + n) << "row " << r;
  }
  EXPECT_EQ(g.Cell(1, 0), Sj(" ＼"));
}

void ExpectDefaultOptions(const OptionState& o) {
  const OptionState fresh;
  for (int i = 0; i < kOptionCount; ++i) {
    EXPECT_EQ(o.Checked(Option(i)), fresh.Checked(Option(i))) << "option " << i;
    EXPECT_EQ(o.Enabled(Option(i)), fresh.Enabled(Option(i))) << "option " << i;
  }
  EXPECT_EQ(o.Position(), kMaxLineWidth);
  EXPECT_EQ(o.Title(), "");
}

// The marker column holds no mark and columns 2..36 no data below the headings.
void ExpectEmptyData(const Grid& g) {
  for (int r = 0; r <= kLastRow; ++r) ASSERT_EQ(g.Cell(0, r), "") << "row " << r;
  for (int c = kFirstDataCol; c <= kLastCol; ++c)
    for (int r = kFirstDataRow; r <= kLastRow; ++r) ASSERT_EQ(g.Cell(c, r), "") << c << "," << r;
}

TEST(GridBounds, OutsideWritesAreIgnoredAndReadEmpty) {
  Grid g;
  g.Select(5, 6);
  g.ScrollTo(4, 20);
  for (auto [c, r] : {std::pair{-1, 0}, {0, -1}, {kColCount, 0}, {0, kRowCount}}) {
    g.SetCell(c, r, "x");
    EXPECT_EQ(g.Cell(c, r), "") << c << "," << r;
    g.Select(c, r);
    g.ScrollTo(c, r);
  }
  EXPECT_EQ(g.Selection(), (GridSelection{5, 6, 5, 6}));
  EXPECT_EQ(g.TopRow(), 20);
  EXPECT_EQ(g.LeftCol(), 4);
  const int last = g.ColWidth(kLastCol);
  g.SetColWidth(kColCount, 99);
  EXPECT_EQ(g.ColWidth(kLastCol), last);
  g.SetCell(kLastCol, kLastRow, "z");
  EXPECT_EQ(g.Cell(kLastCol, kLastRow), "z");
}

TEST(GridWidths, PixelsAndTextColumnsFollow6nPlus5) {
  for (int n : {0, 2, 3, 8, 99}) EXPECT_EQ(TextWidthOf(6 * n + 5), n);
  EXPECT_EQ(TextWidthOf(50), 7);
  EXPECT_EQ(TextWidthOf(4), 0);
  EXPECT_EQ(TextWidthOf(kHiddenColWidth), 0);
  EXPECT_EQ(TextPixelWidth(Sj("あ")), TextPixelWidth("ab"));
}

TEST(DocumentSetUp, FreshDocumentGetsHeadingsWidthsCornerAndDefaults) {
  Document doc;
  SetUpGrid(doc);
  const Grid& g = doc.grid;
  ExpectEmptyData(g);
  ExpectDefaultHeadings(g);
  for (int c = kFirstDataCol; c <= kLastCol; ++c) EXPECT_EQ(g.ColWidth(c), 17) << c;
  EXPECT_EQ(g.ColWidth(1), 23);
  EXPECT_EQ(g.ColWidth(0), -1);
  EXPECT_EQ(g.Selection(), (GridSelection{2, 1, 2, 1}));
  ExpectDefaultOptions(doc.options);
  EXPECT_EQ(doc.CurCol, 36);
  EXPECT_EQ(doc.CurRow, 0);
}

TEST(DocumentColWidth, FitIsSnugToDataRowsOnly) {
  Document doc;
  SetUpGrid(doc);
  Grid& g = doc.grid;
  g.SetCell(3, 5, "ab");
  g.SetCell(4, 9, Sj("あ"));
  g.SetCell(5, 1, "x");
  g.SetCell(5, kLastRow, kHiragana3);
  g.SetCell(6, 0, "0123456789");
  g.SetColWidth(7, 80);
  for (int c : {3, 4, 5, 6, 7}) FitColWidth(doc, c);
  EXPECT_EQ(g.ColWidth(3), g.ColWidth(4));
  EXPECT_EQ(g.ColWidth(5), 41);
  EXPECT_EQ(g.ColWidth(6), 17);  // the heading row is not measured
  EXPECT_EQ(g.ColWidth(7), 17);  // fitting narrows too
}

TEST(DocumentColWidth, WidenKeepsWholeWidthsGrowsToWidestCellAndSkipsNegativeColumn) {
  Document doc;
  SetUpGrid(doc);
  Grid& g = doc.grid;
  g.SetColWidth(2, 53);
  g.SetCell(2, 1, "abc");
  g.SetColWidth(3, 50);
  g.SetCell(4, 7, "abcde");
  for (int c : {2, 3, 4}) WidenColWidth(doc, c);
  EXPECT_EQ(g.ColWidth(2), 53);
  EXPECT_EQ(g.ColWidth(3), 53);
  EXPECT_EQ(g.ColWidth(4), 35);
  const Grid before = g;
  FitColWidth(doc, -1);  // no column: nothing changes
  WidenColWidth(doc, -1);
  for (int c = 0; c < kColCount; ++c) EXPECT_EQ(g.ColWidth(c), before.ColWidth(c)) << c;
}

TEST(DocumentClearTable, EmptiesGridAndRestoresHeadingsWidthsPositionAndOptions) {
  Document doc;
  SetUpGrid(doc);
  Grid& g = doc.grid;
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    g.SetCell(c, 0, "typed");
    g.SetCell(c, kLastRow, kHiragana3);
    g.SetColWidth(c, 71);
  }
  g.SetCell(0, 0, "x");
  g.SetCell(0, 3, std::string(ContinuationMark));
  g.SetCell(1, 7, "row");
  g.SetColWidth(1, 29);
  g.Select(5, 5);
  g.ScrollTo(10, 100);
  doc.CurCol = 7;
  doc.CurRow = 9;
  OptionState& o = doc.options;
  o.SetChecked(Option::ColumnHeadings, false);
  o.SetChecked(Option::Title, false);
  o.SetChecked(Option::FixedWidth, true);
  o.SetPosition(40);
  o.SetChecked(Option::BoxRules, true);
  o.SetTitle("title");

  ClearTable(doc);
  ExpectEmptyData(g);
  ExpectDefaultHeadings(g);
  for (int c = kFirstDataCol; c <= kLastCol; ++c) EXPECT_EQ(g.ColWidth(c), 17) << c;
  EXPECT_EQ(g.ColWidth(1), 29);
  EXPECT_EQ(g.Selection(), (GridSelection{2, 1, 2, 1}));
  EXPECT_EQ(g.TopRow(), 1);
  EXPECT_EQ(g.LeftCol(), 2);
  EXPECT_EQ(doc.CurCol, 1);
  EXPECT_EQ(doc.CurRow, 0);
  ExpectDefaultOptions(o);
}

TEST(DocumentClearTable, RechecksRuledLinesAndReenablesWhatTheyGovern) {
  Document doc;
  SetUpGrid(doc);
  doc.options.SetChecked(Option::Trim, true);
  doc.options.SetChecked(Option::Ruled, false);
  ClearTable(doc);
  ExpectDefaultOptions(doc.options);
}

TEST(DocumentResetHeadings, ReplacesTypedHeadingsAndTouchesNothingElse) {
  Document doc;
  SetUpGrid(doc);
  Grid& g = doc.grid;
  g.SetCell(2, 0, "typed");
  g.SetCell(kLastCol, 0, "x");
  g.SetCell(1, 1, "r1");
  g.SetCell(1, kLastRow, "end");
  g.SetCell(3, 4, "data");
  g.SetCell(0, 4, std::string(ContinuationMark));
  g.SetColWidth(3, 47);
  g.SetColWidth(1, 29);
  g.Select(6, 6);
  ResetHeadings(doc);
  ExpectDefaultHeadings(g);
  EXPECT_EQ(g.Cell(3, 4), "data");
  EXPECT_EQ(g.Cell(0, 4), ContinuationMark);
  EXPECT_EQ(g.ColWidth(3), 47);
  EXPECT_EQ(g.ColWidth(1), 29);
  EXPECT_EQ(g.ColWidth(0), -1);
  EXPECT_EQ(g.Selection(), (GridSelection{2, 1, 2, 1}));
}

}  // namespace
}  // namespace tabulon
