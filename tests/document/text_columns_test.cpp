#include "document/text_columns.h"
#include "document/blanks.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace tabulon {
namespace {

// あ い are two columns each, ｱ ｲ one, "é" written with a combining accent
// one (one cluster of two characters).
const std::string kAaI = "あaい";
const std::string kE = "e\u0301";

TEST(TextColumns, CutsAndSlicesByColumn) {
  struct Case {
    std::string text;
    long from, count;
    std::string slice, cut;  // cut: CutToColumns(text, count), asked where from is 0
  };
  const Case cases[] = {
      {"", 0, 3, "", ""},              // nothing to cut
      {"abc", 1, -1, "", ""},          // nothing asked
      {"abc", -2, 2, "ab", ""},        // a negative start is the start
      {"abc", 1, 9, "bc", ""},         // past the end: cut at the end
      {"abc", 1, LONG_MAX, "bc", ""},  // "to the end", however it is asked
      {"abc", 3, 1, "", ""},           // starting at the end
      {"abc", 7, 1, "", ""},           // starting past it
      {kAaI, 0, 3, "あa", "あa"},      // whole characters
      {kAaI, 0, 1, "あ", ""},          // あ begins in the slice; a cut leaves it out
      {kAaI, 1, 3, "aい", ""},         // a slice from あ's second half takes what begins there
      {kAaI, 3, 2, "い", ""},          // from a character's start
      {"ｱｲ", 1, 1, "ｲ", ""},           // half-width katakana: one column
      {kE + "x", 0, 1, kE, kE},        // a mark stays with its character
      {"a✅b", 1, 1, "✅", ""},          // an emoji of two columns, whole
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " from " + std::to_string(c.from));
    EXPECT_EQ(ColumnSlice(c.text, c.from, c.count), c.slice);
    if (c.from == 0) {
      EXPECT_EQ(CutToColumns(c.text, c.count), c.cut);
    }
  }
  // Slices side by side share out the text: nothing lost, nothing twice.
  for (long at = 0; at <= 6; ++at) {
    EXPECT_EQ(std::string(ColumnSlice(kAaI, 0, at)) + std::string(ColumnSlice(kAaI, at, 9)), kAaI)
        << at;
  }
  EXPECT_EQ(Columns("あｱa"), 4);
  EXPECT_EQ(Columns(kE + "🇯🇵"), 3);
  EXPECT_EQ(PadLeft("あ", 4), "  あ");
  EXPECT_EQ(PadRight(kE, 3), kE + "  ");
}

TEST(TextColumns, KnowsWhereCharactersBegin) {
  // Columns 1 and 4 of "あaい" are second halves, of あ and of い.
  for (long col : {-1, 0, 2, 3, 5, 99}) EXPECT_FALSE(InsideCharAt(kAaI, col)) << col;
  for (long col : {1, 4}) EXPECT_TRUE(InsideCharAt(kAaI, col)) << col;
  EXPECT_EQ(ByteAtColumn(kAaI, 1), 0u);  // the second half: where あ begins
  EXPECT_EQ(ByteAtColumn(kAaI, 2), 3u);
  EXPECT_EQ(ColumnAtByte(kAaI, 4), 3);
  EXPECT_EQ(ColumnAtByte(kAaI, 5), 3);  // inside い: where it is drawn
  EXPECT_EQ(CharStartAt(kAaI, 1), 0u);
  EXPECT_EQ(CharStartAt(kAaI, 5), 4u);
  EXPECT_EQ(CharStartAt(kE, 2), 0u);                           // the accent belongs to the e
  EXPECT_EQ(CharStartAt(kAaI, kAaI.size() + 5), kAaI.size());  // past the end: the end

  // Whole characters covering at least n columns: never half of one.
  EXPECT_EQ(WholeCharsSpanning(kAaI, 1), "あ");
  EXPECT_EQ(WholeCharsSpanning(kAaI, 3), "あa");
  EXPECT_EQ(WholeCharsSpanning(kAaI, 50), kAaI);
  EXPECT_EQ(WholeCharsSpanning(kE + "x", 1), kE);
  EXPECT_EQ(WholeCharsSpanning("ab", 0), "");

  // ソ and 表, whose code page codes end in the byte of "\", never match it.
  const std::string so = "ソ\\|表\\";
  EXPECT_EQ(FindText(so, "\\", 0), 3u);
  EXPECT_EQ(FindText(so, "\\", 4), 8u);
  EXPECT_EQ(FindText(so, "|", so.size() + 1), std::string_view::npos);
  std::string replaced = so;
  ReplaceAllChars(replaced, "\\", "/");
  EXPECT_EQ(replaced, "ソ/|表/");
  EXPECT_TRUE(ReplaceFirst(replaced, "/", "+-"));
  EXPECT_EQ(replaced, "ソ+-|表/");
  EXPECT_FALSE(ReplaceFirst(replaced, "x", "y"));
}

TEST(Blanks, StripBytesUpTo32ButNeverTheFullWidthBlank) {
  EXPECT_EQ(StripText("\t\r\n a b \r\n"), "a b");
  EXPECT_EQ(StripLeading(" \x01x "), "x ");
  EXPECT_EQ(StripTrailing("  x\x1f\t"), "  x");
  EXPECT_EQ(StripText(" 　x　\t"), "　x　");
  EXPECT_EQ(StripText("\u00a0\x7f"), "\u00a0\x7f");  // a no-break space and DEL are text
  EXPECT_TRUE(IsBlankText(" \t\r\n"));
  EXPECT_TRUE(IsBlankText(""));
  EXPECT_FALSE(IsBlankText("　"));
}

}  // namespace
}  // namespace tabulon
