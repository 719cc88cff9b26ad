#include "document/grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "document/blanks.h"
#include "document/document.h"
#include "fuzz/invariants.h"
#include "support/text.h"

namespace tabulon {
namespace {

// The counts as a walk over every cell gives them.
void ExpectCountsMatchCells(const Grid& g, const std::string& after) {
  for (int c = 0; c < kColCount; ++c) {
    int filled = 0, nonBlank = 0, widest = 0;
    for (int r = kFirstDataRow; r <= kLastRow; ++r) {
      filled += !g.Cell(c, r).empty();
      nonBlank += !IsBlankText(g.Cell(c, r));
      widest = std::max(widest, Columns(g.Cell(c, r)));
    }
    ASSERT_EQ(g.WidestDataCell(c), widest) << "column " << c << " after " << after;
    ASSERT_EQ(g.FilledDataCells(c), filled) << "column " << c << " after " << after;
    ASSERT_EQ(g.NonBlankDataCells(c), nonBlank) << "column " << c << " after " << after;
  }
  for (int r = 0; r < kRowCount; ++r) {
    int nonBlank = 0;
    for (int c = 0; c < kColCount; ++c) nonBlank += c != 1 && !IsBlankText(g.Cell(c, r));
    ASSERT_EQ(g.NonBlankCellsBesideHeading(r), nonBlank) << "row " << r << " after " << after;
  }
}

TEST(GridCounts, FollowEveryChangeMoveAndCopy) {
  std::mt19937 random(11);
  // Blank, non-blank, and lengths that grow and shrink the widest text;
  // the last is a full-width blank, which is not blank.
  const std::string texts[] = {"",
                               " ",
                               "\t \x01",
                               "x",
                               "  a  ",
                               std::string(40, ' '),
                               std::string(40, 'q'),
                               std::string(39, 'q'),
                               testing::Sj("　")};
  Grid g;
  ExpectCountsMatchCells(g, "construction");
  for (int step = 0; step < 3000; ++step) {
    const int col = static_cast<int>(random() % kColCount);
    const int row = static_cast<int>(random() % kRowCount);
    const int kind = static_cast<int>(random() % 20);
    std::string what;
    if (kind == 0) {
      const int to = static_cast<int>(random() % kColCount);
      g.MoveColumn(col, to);
      what = "MoveColumn " + std::to_string(col) + " " + std::to_string(to);
    } else if (kind == 1) {
      const int to = static_cast<int>(random() % kRowCount);
      g.MoveRow(row, to);
      what = "MoveRow " + std::to_string(row) + " " + std::to_string(to);
    } else if (kind == 2) {
      g = Grid(g);  // a copy, then an assignment from it
      what = "copy";
    } else {
      g.SetCell(col, row, texts[random() % std::size(texts)]);
      what = "SetCell " + std::to_string(col) + "," + std::to_string(row);
    }
    if (kind < 3 || step % 50 == 0) ExpectCountsMatchCells(g, what);
  }
  ExpectCountsMatchCells(g, "the last step");
  // Out-of-grid writes count nothing.
  g.SetCell(kColCount, 0, "x");
  g.SetCell(0, -1, "x");
  ExpectCountsMatchCells(g, "writes outside");
  EXPECT_EQ(g.FilledDataCells(-1), 0);
  EXPECT_EQ(g.NonBlankCellsBesideHeading(kRowCount), 0);
}

TEST(GridDataCells, AreColumns2To36AndRows1To256) {
  const struct {
    int col, row;
    bool data;
  } cases[] = {
      {2, 1, true},    {36, 256, true},
      {2, 256, true},  {36, 1, true},
      {1, 1, false},   {0, 5, false},
      {37, 1, false},  {2, 0, false},
      {2, 257, false}, {-1, -1, false},
      {-1, 5, false},  {5, -1, false},
      {1, 0, false},   {kColCount, kRowCount, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InDataCells(c.col, c.row), c.data) << c.col << "," << c.row;
  }
  // Each edge on its own: the marks' and headings' column, the headings' row.
  EXPECT_FALSE(IsDataCol(1));
  EXPECT_TRUE(IsDataCol(2) && IsDataCol(36));
  EXPECT_FALSE(IsDataCol(37));
  EXPECT_FALSE(IsDataRow(0));
  EXPECT_TRUE(IsDataRow(1) && IsDataRow(256));
  EXPECT_FALSE(IsDataRow(257));
}

TEST(GridCells, KeepNoRoomForALongerTextTheyOnceHeld) {
  Grid g;
  g.SetCell(3, 4, std::string(1000, 'x'));
  g.SetCell(3, 4, "");
  EXPECT_LE(g.Cell(3, 4).capacity(), std::string().capacity());
  g.SetCell(3, 4, std::string(1000, 'x'));
  g.SetCell(3, 4, "short");
  EXPECT_LE(g.Cell(3, 4).capacity(), std::string().capacity());
}

// What every whole-grid reset must give: the state of a new set-up document,
// whatever the document held before.
void ExpectResetGivesNewSetUpDocument(void (*reset)(Document&), bool releases) {
  Document fresh;
  SetUpGrid(fresh);
  std::mt19937 random(3);
  Document doc;
  SetUpGrid(doc);
  for (int i = 0; i < 2000; ++i) {
    doc.grid.SetCell(static_cast<int>(random() % kColCount), static_cast<int>(random() % kRowCount),
                     std::string(random() % 40, static_cast<char>('a' + random() % 26)));
  }
  doc.grid.SetColWidth(1, 77);
  doc.grid.SetColWidth(9, 101);
  doc.grid.Select(7, 8);
  doc.grid.ScrollTo(9, 40);
  doc.options.SetChecked(Option::Ruled, false);
  doc.options.SetTitle(std::string(50, 't'));

  reset(doc);
  const std::size_t shortText = std::string().capacity();
  for (int c = 0; c < kColCount; ++c) {
    ASSERT_EQ(doc.grid.ColWidth(c), fresh.grid.ColWidth(c)) << "column " << c;
    for (int r = 0; r < kRowCount; ++r) {
      ASSERT_EQ(doc.grid.Cell(c, r), fresh.grid.Cell(c, r)) << c << "," << r;
      if (releases) {
        ASSERT_LE(doc.grid.Cell(c, r).capacity(), shortText) << c << "," << r;
      }
    }
  }
  ExpectCountsMatchCells(doc.grid, "the reset");
  EXPECT_EQ(doc.grid.Selection(), fresh.grid.Selection());
  EXPECT_EQ(doc.grid.TopRow(), fresh.grid.TopRow());
  EXPECT_EQ(doc.grid.LeftCol(), fresh.grid.LeftCol());
  EXPECT_TRUE(doc.options.Save() == fresh.options.Save());
  EXPECT_EQ(doc.CurCol, fresh.CurCol);
  EXPECT_EQ(doc.CurRow, fresh.CurRow);
  if (releases) {
    EXPECT_LE(doc.options.Title().capacity(), shortText);
  }
}

TEST(DocumentReset, GivesANewSetUpDocumentAndFreesItsTexts) {
  ExpectResetGivesNewSetUpDocument(fuzz::ResetDocument, true);
}

TEST(DocumentClearTable, ThenSetUpGivesANewSetUpDocument) {
  ExpectResetGivesNewSetUpDocument(
      [](Document& doc) {
        ClearTable(doc);
        SetUpGrid(doc);
      },
      false);
}

// The widest text of a column is the widest under the rule in force, also
// when the cells were set under the other (as a table read by the rule it
// was written with).
TEST(GridCounts, WidestCellFollowsTheWidthRule) {
  Grid g;
  {
    const WidthRuleScope narrow(WidthRule::Narrow);
    g.SetCell(2, 1, "○○");
    EXPECT_EQ(g.WidestDataCell(2), 2);
  }
  EXPECT_EQ(g.WidestDataCell(2), 4);
  g.SetCell(2, 2, "abc");
  EXPECT_EQ(g.WidestDataCell(2), 4);
}

}  // namespace
}  // namespace tabulon
