#include "document/text_columns.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/text.h"

namespace tabulon {
namespace {

using testing::Sj;

// あ い are two columns each, ｱ ｲ one; a cut inside あ keeps its first byte.
const std::string kA = Sj("あ"), kAaI = Sj("あaい");

TEST(TextColumns, CutsAndSlicesByColumn) {
  struct Case {
    std::string text;
    long from, count;
    std::string slice;
  };
  const Case cases[] = {
      {"", 0, 3, ""},                 // nothing to cut
      {"abc", 1, -1, ""},             // nothing asked
      {"abc", -2, 2, "ab"},           // a negative start is the start
      {"abc", 1, 9, "bc"},            // past the end: cut at the end
      {"abc", 1, LONG_MAX, "bc"},     // "to the end", however it is asked
      {"abc", 3, 1, ""},              // starting at the end
      {"abc", 7, 1, ""},              // starting past it
      {kAaI, 0, 3, kA + "a"},         // whole characters
      {kAaI, 0, 1, kA.substr(0, 1)},  // inside a double-byte character
      {kAaI, 3, 2, Sj("い")},         // from a character's start
      {Sj("ｱｲ"), 1, 1, Sj("ｲ")},      // half-width katakana: one column
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Utf8Lines({c.text})[0] + " from " + std::to_string(c.from));
    EXPECT_EQ(ColumnSlice(c.text, c.from, c.count), c.slice);
    if (c.from == 0) {
      EXPECT_EQ(CutToColumns(c.text, c.count), c.slice);
    }
  }
  EXPECT_EQ(Columns(Sj("あｱa")), 4);
  EXPECT_EQ(PadLeft(kA, 4), "  " + kA);
}

TEST(TextColumns, KnowsWhereCharactersBegin) {
  // Columns 1 and 4 of "あaい" are second halves, of あ and of い.
  for (long col : {-1, 0, 2, 3, 5, 99}) EXPECT_FALSE(InsideCharAt(kAaI, col)) << col;
  for (long col : {1, 4}) EXPECT_TRUE(InsideCharAt(kAaI, col)) << col;
  EXPECT_FALSE(InsideCharAt("a\x83", 1));  // a lone lead byte at the end stands alone
  EXPECT_EQ(CharStartAt(kAaI, 1), 0u);
  EXPECT_EQ(CharStartAt(kAaI, 4), 3u);
  EXPECT_EQ(CharStartAt(kAaI, kAaI.size() + 5), kAaI.size());  // past the end: the end

  // Whole characters covering at least n columns: never half of one.
  EXPECT_EQ(WholeCharsSpanning(kAaI, 1), kA);
  EXPECT_EQ(WholeCharsSpanning(kAaI, 3), kA + "a");
  EXPECT_EQ(WholeCharsSpanning(kAaI, 50), kAaI);
  EXPECT_EQ(WholeCharsSpanning("ab", 0), "");

  const std::string so = Sj("ソ\\|ソ\\");  // ソ ends in the byte of "\"
  EXPECT_EQ(FindText(so, "\\", 3), 6u);    // never the end of the second ソ
  EXPECT_EQ(FindText(so, "\\", 7), std::string_view::npos);
  EXPECT_EQ(FindText(so, "|", so.size() + 1), std::string_view::npos);
}

}  // namespace
}  // namespace tabulon
