// "文字揃え": the texts rewritten to sit in their column's capacity.
#include "editing/alignment.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/text.h"

namespace tabulon {
namespace {

using testing::Sj;

const std::string kA = Sj("あ");     // two columns wide
const std::string kWide = Sj("　");  // the full-width space
constexpr Alignment L = Alignment::Left, C = Alignment::Centre, R = Alignment::Right;

TEST(AlignedText, PadsBeforeTheTrimmedTextOnlyNeverAfterAndNeverCuts) {
  const struct {
    std::string text;
    int capacity;
    Alignment alignment;
    std::string aligned;
  } cases[] = {
      {"a", 2, R, " a"},
      {"abc", 2, R, "abc"},
      {"ab", 4, R, "  ab"},
      {"ab", 4, C, " ab"},
      {"a", 4, C, " a"},
      {kA, 4, R, "  " + kA},
      {"  x  ", 4, L, "x"},
      {"\t x\r\n", 4, R, "   x"},
      {kWide + "x", 4, R, " " + kWide + "x"},
      {kWide + "x", 4, L, kWide + "x"},
      {"", 4, R, "    "},
      {"", 5, C, "  "},
      {"abcdef", 4, C, "abcdef"},
      {" ab", 0, R, "ab"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AlignedText(c.text, c.capacity, c.alignment), c.aligned)
        << '"' << c.text << "\" in " << c.capacity << " as " << static_cast<int>(c.alignment);
  }
}

TEST(AlignedText, AligningTwiceGivesWhatAligningOnceGives) {
  std::mt19937 random(7);
  const std::string pieces[] = {" ", "\t", kWide, "a", "b", "1"};
  for (int i = 0; i < 2000; ++i) {
    std::string text;
    for (int n = random() % 8; n > 0; --n) text += pieces[random() % std::size(pieces)];
    const int capacity = static_cast<int>(random() % 10);
    const Alignment alignment = static_cast<Alignment>(random() % 3);
    const std::string once = AlignedText(text, capacity, alignment);
    EXPECT_EQ(AlignedText(once, capacity, alignment), once) << '"' << text << '"';
  }
}

TEST(AlignCells, RewritesTheSelectedCellsInTheirOwnColumnsWidthsKept) {
  Document doc;
  SetUpGrid(doc);
  doc.grid.SetColWidth(3, 22);  // capacity 2
  doc.grid.SetColWidth(4, 29);  // capacity 4, as after widening by hand
  for (int c : {3, 4}) {
    for (int r : {1, 2, 3}) doc.grid.SetCell(c, r, "a");
  }
  doc.grid.SetSelection({4, 2, 3, 1});  // corners either way round
  AlignCells(doc, Alignment::Right);
  EXPECT_EQ(doc.grid.Cell(3, 1), " a");
  EXPECT_EQ(doc.grid.Cell(4, 2), "   a");
  EXPECT_EQ(doc.grid.Cell(3, 3), "a");  // below the selection
  EXPECT_EQ(doc.grid.Cell(5, 1), "");   // beside it
  EXPECT_EQ(doc.grid.ColWidth(3), 22);
  EXPECT_EQ(doc.grid.ColWidth(4), 29);

  // A whole column from the column menu: its empty cells fill with blanks.
  doc.grid.SetSelection({5, 1, 5, kLastRow});
  AlignCells(doc, Alignment::Centre);
  EXPECT_EQ(doc.grid.Cell(5, kLastRow), std::string(TextWidthOf(doc.grid.ColWidth(5)) / 2, ' '));
}

}  // namespace
}  // namespace tabulon
