#include "document/codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tabulon {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

TEST(Cp932Codec, MixedTextRoundTrips) {
  const std::string text =
      "Name\t名前 ｶﾀｶﾅ ①Ⅰⅰ＼～\\~\n"
      "┌┬┐├┼┤└┴┘│─\u3000end";
  const std::string cp932 = Utf8ToCp932(text);
  EXPECT_EQ(cp932.substr(0, 5), "Name\t");
  EXPECT_EQ(cp932.substr(5, 4), "\x96\xBC\x91\x4F");  // 名前
  EXPECT_EQ(Cp932ToUtf8(cp932), text);
}

TEST(Cp932Codec, EncodesKnownCodes) {
  EXPECT_EQ(Utf8ToCp932("＼"), "\x81\x5F");
  EXPECT_EQ(Utf8ToCp932("\\"), "\x5C");
  EXPECT_EQ(Utf8ToCp932("～"), "\x81\x60");
  EXPECT_EQ(Utf8ToCp932("①Ⅰⅰ"), "\x87\x40\x87\x54\xFA\x40");
  EXPECT_EQ(Utf8ToCp932("\u3000"), "\x81\x40");
  EXPECT_EQ(Utf8ToCp932("─│┌"), "\x84\x9F\x84\xA0\x84\xA1");
  EXPECT_EQ(Utf8ToCp932("ｱﾟ"), "\xB1\xDF");  // half-width kana stay one byte
  // User-defined area <-> private use area.
  EXPECT_EQ(Utf8ToCp932("\uE000\uE757"), "\xF0\x40\xF9\xFC");
  EXPECT_EQ(Cp932ToUtf8("\xF0\x40\xF9\xFC"), "\uE000\uE757");
}

TEST(Cp932Codec, FollowsGlibcForDuplicatesAndLookalikes) {
  // NEC and IBM duplicates decode alike; encoding picks one of them.
  EXPECT_EQ(Cp932ToUtf8("\x87\x54"), "Ⅰ");
  EXPECT_EQ(Cp932ToUtf8("\xFA\x4A"), "Ⅰ");
  EXPECT_EQ(Utf8ToCp932("Ⅰ"), "\x87\x54");
  EXPECT_EQ(Cp932ToUtf8("\xED\x40"), Cp932ToUtf8("\xFA\x5C"));
  EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8("\xED\x40")), "\xFA\x5C");
  EXPECT_EQ(Cp932ToUtf8("\x81\xCA"), "￢");
  // Characters with a CP932 stand-in convert without counting as replaced.
  std::size_t replaced = 0;
  EXPECT_EQ(Utf8ToCp932("\u00A5\u2212\u301C", &replaced), "\x5C\x81\x7C\x81\x60");
  EXPECT_EQ(replaced, 0u);
}

TEST(Cp932Codec, UnmappableCharactersBecomeQuestionMarks) {
  std::size_t replaced = 5;  // the count is added, not stored
  EXPECT_EQ(Utf8ToCp932("caf\u00E9 \U0001F600!", &replaced), "caf? ?!");
  EXPECT_EQ(replaced, 7u);
  // Cached answers give the same result on a second call.
  EXPECT_EQ(Utf8ToCp932("\u00E9\u00E9"), "??");
  EXPECT_EQ(Utf8ToCp932("\uFFFD"), "?");
  EXPECT_EQ(Utf8ToCp932("\uE758"), "?");  // just past the user-defined area
}

TEST(Cp932Codec, InvalidUtf8BecomesOneQuestionMarkPerSequence) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"a\x80z", "a?z"},                  // stray continuation byte
      {"a\xE5\x90z", "a?z"},              // truncated kanji, ASCII survives
      {"a\xE5", "a?"},                    // truncated at end of text
      {"a\xC0\x80z", "a?z"},              // overlong NUL
      {"a\xE0\x81\x9Cz", "a?z"},          // overlong backslash
      {"a\xED\xA0\x80z", "a?z"},          // surrogate
      {"a\xF4\x90\x80\x80z", "a?z"},      // above U+10FFFF
      {"a\xFF\xFEz", "a??z"},             // bytes that never appear in UTF-8
      {"\xE5\x90\x8D\xE5", "\x96\xBC?"},  // good kanji, then a cut-off one
  };
  for (const Case& c : cases) {
    std::size_t replaced = 0;
    EXPECT_EQ(Utf8ToCp932(c.in, &replaced), c.out) << testing::PrintToString(c.in);
    std::size_t expected = 0;
    for (char ch : c.out) expected += ch == '?';
    EXPECT_EQ(replaced, expected) << testing::PrintToString(c.in);
    std::size_t measured = 0;  // measuring agrees with converting, "?" counts included
    EXPECT_EQ(Cp932Length(c.in, &measured), c.out.size()) << testing::PrintToString(c.in);
    EXPECT_EQ(measured, expected) << testing::PrintToString(c.in);
  }
}

TEST(Cp932Codec, MeasuringAgreesWithConvertingOnAnyBytes) {
  std::mt19937 random(5);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes(random() % 24, '\0');
    for (char& b : bytes)
      b = static_cast<char>(random() % 3 ? "a\t\xE3\x81\x82\xEF\xBD\xB1\xF0\x9F"[random() % 10]
                                         : random());
    std::size_t converted = 0, measured = 0;
    ASSERT_EQ(Cp932Length(bytes, &measured), Utf8ToCp932(bytes, &converted).size());
    ASSERT_EQ(measured, converted);
  }
  EXPECT_EQ(AsciiPrefixLength("abc\t\xE3\x81\x82" "d"), 4u);
  EXPECT_EQ(WithoutUtf8Bom("\xEF\xBB\xBF\xEF\xBB\xBFx"), "\xEF\xBB\xBFx");  // only one mark goes
  EXPECT_EQ(WithoutUtf8Bom("\xEF\xBBx"), "\xEF\xBBx");
}

TEST(Cp932Decode, UndefinedBytesBecomeReplacementChar) {
  EXPECT_EQ(Cp932ToUtf8("a\x80z"), "a" + kFffd + "z");
  EXPECT_EQ(Cp932ToUtf8("a\xA0z"), "a" + kFffd + "z");
  EXPECT_EQ(Cp932ToUtf8("\xFD\xFE\xFF"), kFffd + kFffd + kFffd);
  EXPECT_EQ(Cp932ToUtf8("\xA1\xDF"), "｡ﾟ");
}

TEST(Cp932Decode, LoneLeadBytesNeverSwallowAscii) {
  EXPECT_EQ(Cp932ToUtf8("ab\x88"), "ab" + kFffd);
  EXPECT_EQ(Cp932ToUtf8("\x88\t1"), kFffd + "\t1");  // not a trail byte
  EXPECT_EQ(Cp932ToUtf8("\x88 \x88\x9F"), kFffd + " 亜");
  EXPECT_EQ(Cp932ToUtf8("\x81\xFDz"), kFffd + kFffd + "z");
  EXPECT_EQ(Cp932ToUtf8("\x81\x7Fz"), kFffd + "\x7Fz");  // 0x7F is no trail byte
  // Unassigned pair with an ASCII trail: the ASCII byte is kept.
  EXPECT_EQ(Cp932ToUtf8("\x85\x40|"), kFffd + "@|");
  EXPECT_EQ(Cp932ToUtf8("\xEA\xA5,"), kFffd + ",");  // unassigned, non-ASCII trail
  EXPECT_EQ(Cp932ToUtf8("\x88\x9E"), kFffd);
}

TEST(Cp932Decode, EmptyAndAsciiPassThrough) {
  EXPECT_EQ(Cp932ToUtf8(""), "");
  EXPECT_EQ(Utf8ToCp932(""), "");
  const std::string ascii = "\x01 plain \\ ~ text\x7F";
  EXPECT_EQ(Cp932ToUtf8(ascii), ascii);
  EXPECT_EQ(Utf8ToCp932(ascii), ascii);
  EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// Which texts count as UTF-8 when the filter finds an input's encoding.
TEST(IsValidUtf8, WellFormedSequencesOnly) {
  for (const char* valid : {"", "abc", "表", "\xF0\x9F\x98\x80", "\xEF\xBB\xBFx", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_TRUE(IsValidUtf8(valid)) << valid;
  }
  for (const char* invalid : {"\x95\x5c", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                              "\xF4\x90\x80\x80", "\xE8\xA1", "a\x80", "\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(invalid)) << invalid;
  }
}

}  // namespace
}  // namespace tabulon
