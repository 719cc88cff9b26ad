#include "table/format.h"

#include <gtest/gtest.h>

#include <string>

#include "support/text.h"

namespace tabulon {
namespace {

using testing::Sj;

TEST(LayoutMarker, RecordsTitleAndHeadings) {
  EXPECT_EQ(LayoutMarker({true, true, true}), "^---==-^");
  EXPECT_EQ(LayoutMarker({false, true, true}), "^--===-^");
  EXPECT_EQ(LayoutMarker({true, false, false}), "^------^");
  EXPECT_EQ(LayoutMarker({false, false, false}), "^--=---^");
  EXPECT_EQ(LayoutMarker({false, false, true}), "^--=-=-^");
}

// Every layout comes back from the marker the writer makes, in each wrap's
// top line and behind a prefix.
TEST(LayoutOfTopLine, ReadsBackEveryLayoutTheWriterMarks) {
  for (int bits = 0; bits < 8; ++bits) {
    const TableLayout layout{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
    const std::string marker = LayoutMarker(layout);
    for (const std::string& top : {"+-" + marker + "---+", "{-" + marker + "-}", "'+-" + marker,
                                   Sj("┌") + marker + Sj("─┐"), "// /*" + Sj("┌") + marker}) {
      EXPECT_EQ(LayoutOfTopLine(top), layout) << top;
      EXPECT_TRUE(IsGeneratedTableTop(top)) << top;
    }
  }
}

TEST(LayoutOfTopLine, EachOptionIsOnWhenAnyMarkerTurnsItOn) {
  const TableLayout none{};
  EXPECT_EQ(LayoutOfTopLine(""), none);
  EXPECT_EQ(LayoutOfTopLine("+-^-+"), none);
  EXPECT_EQ(LayoutOfTopLine("+-^--x---^-+"), none);  // not a marker
  EXPECT_EQ(LayoutOfTopLine("+-^--=---"), none);     // cut short
  // Two markers, as a line touched by hand may hold.
  EXPECT_EQ(LayoutOfTopLine("+-^--==--^^--=-=-^+"), (TableLayout{false, true, true}));
  EXPECT_EQ(LayoutOfTopLine("^--=---^ ^------^"), (TableLayout{true, false, false}));
  // Overlapping candidates: the second "^--" begins a marker of its own.
  EXPECT_EQ(LayoutOfTopLine("^--^--=-=-^"), (TableLayout{false, false, true}));
  // After a character that is two columns wide.
  EXPECT_EQ(LayoutOfTopLine("亜^--=-=-^"), (TableLayout{false, false, true}));
}

TEST(TableTop, StartsAndMarkersAreFoundCharacterByCharacter) {
  struct Case {
    std::string line;
    bool begins, top;
    std::size_t marker;
  };
  const Case cases[] = {
      {"+-^--=---^-+", true, true, 2},
      {"/*^--=---^-+", true, true, 2},
      {"'+-^--=---^", true, true, 3},
      {Sj("/*┌") + "^--=---^", true, true, 4},
      {"  +-^--=---^", false, true, 4},  // behind blanks: a table, not its start
      {"x=^-y", false, false, 2},        // a marker, but no table's start
      {"+-^", false, false, std::string::npos},
      {"亜^-", false, false, 2},  // the marker's column, after a two-column character
      {"", false, false, std::string::npos},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BeginsTableTop(c.line), c.begins) << c.line;
    EXPECT_EQ(IsGeneratedTableTop(c.line), c.top) << c.line;
    EXPECT_EQ(LayoutMarkerAt(c.line), c.marker) << c.line;
  }
}

}  // namespace
}  // namespace tabulon
