#include "document/cp932.h"
#include "document/text_columns.h"

#include <gtest/gtest.h>

#include <random>

#include <string>

#include "support/text.h"

namespace tabulon {
namespace {

using testing::Sj;

constexpr auto npos = std::string_view::npos;

// Sample characters: ソ 83 5C and 表 95 5C end in '\'; − 81 7C ends in '|';
// 亜 88 9F ends in a byte that is also a lead-byte value; あ 82 A0;
// ｱ B1 is a single-byte half-width katakana; 　 81 40 is the double-byte blank.
// The byte rules (lead and trail bytes, the walk) are written in those bytes;
// texts are written as characters.

TEST(Cp932Bytes, LeadByteRangeBoundaries) {
  for (int b : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsLeadByte(b)) << b;
  for (int b : {0x00, 0x5C, 0x7F, 0x80, 0xA0, 0xB1, 0xDF, 0xFD, 0xFF})
    EXPECT_FALSE(IsLeadByte(b)) << b;
}

TEST(Cp932Bytes, TrailBytesAreFoundByWalkingFromTheStart) {
  const std::string s = "a\x88\x9f\x82\xa0\xb1";  // a 亜 あ ｱ
  const bool trail[] = {false, false, true, false, true, false};
  for (std::size_t i = 0; i < s.size(); ++i) EXPECT_EQ(CharStartAt(s, i) != i, trail[i]) << i;
  EXPECT_EQ(CharLength("a\x83", 1), 1u);  // a lone lead byte at the end stands alone
}

TEST(Cp932Find, TrailByteNeverStartsAMatch) {
  EXPECT_EQ(FindText(Sj("ソ"), "\\"), npos);
  EXPECT_EQ(FindText(Sj("表"), "\\"), npos);
  EXPECT_FALSE(ContainsText(Sj("−-"), "|-"));
  // The needle is the trail byte of 亜 and the lead byte of あ.
  EXPECT_FALSE(ContainsText("\x88\x9f\x82\xa0", "\x9f\x82"));
}

TEST(Cp932Find, MatchesAfterDoubleByteCharactersAtTheirOffset) {
  EXPECT_EQ(FindText(Sj("ソ\\"), "\\"), Sj("ソ").size());
  EXPECT_EQ(FindText(Sj("−|-"), "|-"), Sj("−").size());
  EXPECT_EQ(FindText(Sj("ｱ\\"), "\\"), Sj("ｱ").size());  // a single-byte katakana is no lead byte
  EXPECT_EQ(FindText(Sj("あい"), Sj("い")), Sj("あ").size());
  EXPECT_EQ(FindText("ab", ""), 0u);
  EXPECT_EQ(FindText("a", "ab"), npos);
}

// The search takes the first match that begins a character, as a walk
// over every character would, on random texts of lead, trail and ASCII bytes
// (bytes of the encoding, any of them alone).
TEST(Cp932Find, AgreesWithAWalkOverEveryCharacter) {
  std::mt19937 rng(5);
  const std::string bytes = "\x81\x82\x5c\x7c\xa0-|\\a";
  const auto walk = [](std::string_view text, std::string_view needle) {
    for (std::size_t i = 0; i + needle.size() <= text.size(); i += CharLength(text, i)) {
      if (text.compare(i, needle.size(), needle) == 0) return i;
    }
    return npos;
  };
  for (int n = 0; n < 20000; ++n) {
    std::string text, needle;
    for (int k = rng() % 12; k > 0; --k) text += bytes[rng() % bytes.size()];
    for (int k = 1 + rng() % 3; k > 0; --k) needle += bytes[rng() % bytes.size()];
    ASSERT_EQ(FindText(text, needle), walk(text, needle)) << text << " / " << needle;
  }
}

TEST(Cp932Strip, RemovesBytesUpTo32ButNeverTheDoubleByteBlank) {
  EXPECT_EQ(StripText("\t\r\n a b \r\n"), "a b");
  EXPECT_EQ(StripLeading(" \x01x "), "x ");
  EXPECT_EQ(StripTrailing("  x\x1f\t"), "  x");
  EXPECT_EQ(StripText("! "), "!");
  const std::string wide = Sj("　x　");
  EXPECT_EQ(StripText(" " + wide + "\t"), wide);
  EXPECT_EQ(StripText("\xa1\x7f\xa1"), "\xa1\x7f\xa1");  // bytes over 127 and DEL are not blanks
  EXPECT_TRUE(IsBlankText(" \t\r\n"));
  EXPECT_TRUE(IsBlankText(""));
  EXPECT_FALSE(IsBlankText(Sj("　")));
}

TEST(Cp932Pad, FillsWithBlanksAndNeverCuts) {
  EXPECT_EQ(PadRight(Sj("あ"), 5), Sj("あ   "));
  EXPECT_EQ(PadLeft("ab", 5), "   ab");
  EXPECT_EQ(PadRight("abcdef", 3), "abcdef");
  EXPECT_EQ(PadLeft("abcdef", 3), "abcdef");
  EXPECT_EQ(PadLeft("ab", -1), "ab");
}

TEST(Cp932Replace, AllCharsSkipsTrailBytesAndFirstLeavesMissesAlone) {
  std::string s = Sj("ソ\\a\\");
  ReplaceAllChars(s, "\\", "/");
  EXPECT_EQ(s, Sj("ソ/a/"));
  ReplaceAllChars(s, "", "x");
  EXPECT_EQ(s, Sj("ソ/a/"));

  std::string t = "a-b-c";
  EXPECT_TRUE(ReplaceFirst(t, "-", "+-"));
  EXPECT_EQ(t, "a+-b-c");
  EXPECT_FALSE(ReplaceFirst(t, "|", "x"));
  EXPECT_EQ(t, "a+-b-c");
}

}  // namespace
}  // namespace tabulon
