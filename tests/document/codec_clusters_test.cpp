// The conversions of text held as UTF-8: made well-formed, read from CP932,
// and written to CP932 a display cluster at a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "document/codec.h"
#include "document/width.h"

namespace tabulon {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

using Names = std::vector<std::string>;

// A text, what it becomes and how many replacements that counts.
struct Counted {
  const char* what;
  std::string in;
  std::string out;
  std::size_t count;
};

TEST(SanitizeUtf8, EachBadSequenceBecomesOneReplacementChar) {
  const Counted kCases[] = {
      {"valid text", "a表\tｶ😀é", "a表\tｶ😀é", 0},
      {"stray continuation byte", "a\x80z", "a" + kFffd + "z", 1},
      {"truncated kanji, ASCII survives", "a\xE5\x90z", "a" + kFffd + "z", 1},
      {"overlong, surrogate, above U+10FFFF", "\xC0\x80\xED\xA0\x80\xF4\x90\x80\x80z",
       kFffd + kFffd + kFffd + "z", 3},
      {"bytes never in UTF-8", "\xFF\xFE", kFffd + kFffd, 2},
      {"CP932 bytes", "\x95\x5C", kFffd + "\\", 1},
  };
  for (const Counted& c : kCases) {
    SCOPED_TRACE(c.what);
    Replacements replaced;
    std::string storage;
    const std::string_view text = SanitizeUtf8(c.in, storage, replaced);
    EXPECT_EQ(text, c.out);
    EXPECT_EQ(text.data() == c.in.data(), c.count == 0);  // valid text is not copied
    EXPECT_EQ(replaced.count, c.count);
    EXPECT_EQ(replaced.chars, c.count ? Names{kFffd} : Names{});
    EXPECT_EQ(BadUtf8Count(c.in), c.count);
    Replacements again;
    EXPECT_EQ(SanitizeUtf8(c.in, again), c.out);
  }
}

TEST(DecodeCp932, CountsWhatIsNoCharacter) {
  const Counted kCases[] = {
      {"text", "a\x95\x5C\xB6", "a表ｶ", 0},
      {"undefined single bytes", "\x80\xA0\xFD", kFffd + kFffd + kFffd, 3},
      {"a lone lead byte at the end", "ab\x88", "ab" + kFffd, 1},
      {"a lead byte keeps the ASCII after it", "\x88\t1", kFffd + "\t1", 1},
      {"unassigned pair, ASCII trail kept", "\x85\x40|", kFffd + "@|", 1},
      {"unassigned pair, other trail", "\xEA\xA5,", kFffd + ",", 1},
  };
  for (const Counted& c : kCases) {
    SCOPED_TRACE(c.what);
    Replacements replaced;
    EXPECT_EQ(DecodeCp932(c.in, replaced), c.out);
    EXPECT_EQ(replaced.count, c.count);
    EXPECT_EQ(replaced.chars, c.count ? Names{kFffd} : Names{});
  }
}

TEST(EncodeCp932, ClustersTheCodePageLacksBecomeOneQuestionMarkAColumn) {
  struct Case {
    const char* what;
    std::string in;
    std::string out;
    std::size_t count;
    Names names;
  };
  const Case kCases[] = {
      {"ASCII, kana, kanji", "A ｶ表", "A \xB6\x95\x5C", 0, {}},
      {"look-alikes take their codes",
       "〜−—‖¢£¬¥‾",
       "\x81\x60\x81\x7C\x81\x5C\x81\x61\x81\x91\x81\x92\x81\xCA\x5C\x7E",
       0,
       {}},
      {"a combining accent goes with its letter", "e\u0301x", "?x", 1, {"e\u0301"}},
      {"counted each time, named once", "é€é", "???", 3, {"é", "€"}},
      {"an emoji", "✅", "??", 1, {"✅"}},
      {"an emoji drawn as text", "⚠", "?", 1, {"⚠"}},
      {"the same with U+FE0F", "⚠\uFE0F", "??", 1, {"⚠\uFE0F"}},
      {"a code page symbol with U+FE0F", "○\uFE0F", "\x81\x9B", 0, {}},
      {"a kanji with an ideographic variant", "葛\U000E0100", "\x8A\x8B", 0, {}},
      {"a kanji with a joiner", "表\u200D", "\x95\x5C", 0, {}},
      {"a keycap", "1\uFE0F\u20E3", "??", 1, {"1\uFE0F\u20E3"}},
      {"a flag", "🇯🇵", "??", 1, {"🇯🇵"}},
      {"a joiner family", "👨\u200D👩\u200D👧", "??", 1, {"👨\u200D👩\u200D👧"}},
      {"beyond the BMP", "𠮷野", "??\x96\xEC", 1, {"𠮷"}},
      {"a combining voiced mark the code page lacks", "か\u3099", "??", 1, {"か\u3099"}},
      {"a mark with nothing before it", "\u0301a", "a", 1, {"\u0301"}},
      {"a joiner with nothing before it", "\u200Da", "a", 0, {}},
      {"U+FFFD", "\uFFFD", "?", 1, {kFffd}},
      {"bad UTF-8", "a\xFF\xE5\x90" "b", "a??b", 2, {kFffd}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    Replacements replaced;
    EXPECT_EQ(EncodeCp932(c.in, replaced), c.out);
    EXPECT_EQ(replaced.count, c.count);
    EXPECT_EQ(replaced.chars, c.names);
  }
}

// Every character the code page holds is written as the old encoder writes
// it, alone, between others and with U+FE0F (which takes the cluster road),
// and reads back as the encoder's own mapping folds it.
TEST(EncodeCp932, AgreesWithTheOldEncoderOnEveryCodePageCharacter) {
  int held = 0;
  for (char32_t cp = 0; cp < 0x10000; ++cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || Cp932Code(cp) < 0) continue;
    ++held;
    const std::string ch = Utf8Of(cp);
    const std::string code = Utf8ToCp932(ch);
    Replacements replaced;
    ASSERT_EQ(EncodeCp932(ch, replaced), code) << std::hex << static_cast<std::uint32_t>(cp);
    ASSERT_EQ(EncodeCp932("a" + ch + "表", replaced), "a" + code + "\x95\x5C") << std::hex << static_cast<std::uint32_t>(cp);
    ASSERT_EQ(EncodeCp932(ch + "\uFE0F", replaced), code) << std::hex << static_cast<std::uint32_t>(cp);
    ASSERT_EQ(replaced.count, 0u) << std::hex << static_cast<std::uint32_t>(cp);
    ASSERT_EQ(DecodeCp932(code, replaced), Cp932ToUtf8(code));
  }
  EXPECT_GT(held, 7000);
}

// Random text of every kind: what EncodeCp932 writes has as many bytes as
// the text has columns; text of the code page alone is written as the old
// encoder writes it and read back whole, look-alikes folded.
TEST(EncodeCp932, WritesAByteForEachColumn) {
  static const std::vector<std::string> kHeld = {
      "a", " ", "1", "\t", "ｶ", "ﾞ", "表", "吉", "○", "①", "Ⅱ", "α", "─",
      "〜", "−", "—", "‖", "¢", "£", "¬", "¥", "‾", "～", "\x7F"};
  static const std::vector<std::string> kOthers = {
      "é", "€", "✅", "⚠", "\uFE0F", "🇯", "🇵", "👨", "\u200D", "👍", "🏽", "\u0301", "\u3099",
      "\U000E0100", "𠮷", "한", "\u1112", "\u1161", "\u200B", "\u20E3", "\uFFFD",
      "\xFF", "\x80", "\xE5\x90", "\xED\xA0\x80", "\xF0\x9F"};
  std::mt19937 random(29);
  for (int round = 0; round < 20000; ++round) {
    const bool heldOnly = round % 4 == 0;
    std::string text;
    for (int n = static_cast<int>(random() % 12); n > 0; --n) {
      const auto& pool = heldOnly || random() % 2 ? kHeld : kOthers;
      text += pool[random() % pool.size()];
    }
    Replacements replaced;
    const std::string cp932 = EncodeCp932(text, replaced);
    ASSERT_EQ(cp932.size(), TextColumns(text)) << testing::PrintToString(text);
    ASSERT_LE(replaced.chars.size(), Replacements::kNamed);
    if (!heldOnly) continue;
    ASSERT_EQ(replaced.count, 0u) << testing::PrintToString(text);
    ASSERT_EQ(cp932, Utf8ToCp932(text)) << testing::PrintToString(text);
    ASSERT_EQ(DecodeCp932(cp932, replaced), Cp932ToUtf8(Utf8ToCp932(text)));
  }
}

}  // namespace
}  // namespace tabulon
