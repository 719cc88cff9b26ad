// The width rule by class of character, and its promise to the code page:
// text the code page holds measures as many columns as its CP932 bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cwchar>
#include <random>
#include <string>
#include <string_view>

#include "document/codec.h"
#include "document/width.h"

namespace tabulon {
namespace {

struct Case {
  const char* what;
  std::string_view text;
  std::size_t columns;
  std::size_t clusters;
};

TEST(Width, ColumnsAndClustersByClass) {
  const Case kCases[] = {
      {"ASCII", "Tabulon 1.0", 11, 11},
      {"control codes", "\x01\x7F", 2, 2},
      {"half-width katakana", "ｶﾞｲﾄﾞ", 5, 5},
      {"kanji", "表計算", 6, 3},
      {"the code page's symbols", "○①α─※", 10, 5},
      {"look-alikes the code page encodes", "〜−—¢", 8, 4},
      {"a one-byte look-alike", "¥", 1, 1},
      {"Ambiguous outside the code page", "éñ€", 3, 3},
      {"an emoji", "✅", 2, 1},
      {"an emoji drawn as text", "⚠", 1, 1},
      {"the same with U+FE0F", "⚠\uFE0F", 2, 1},
      {"a code page symbol keeps its width with U+FE0F", "○\uFE0F", 2, 1},
      {"a flag, then a lone indicator", "🇯🇵🇯", 3, 2},
      {"a joiner family", "👨\u200D👩\u200D👧", 2, 1},
      {"a joiner after a letter joins nothing", "a\u200D👧", 3, 2},
      {"a skin tone", "👍🏽", 2, 1},
      {"a skin tone after a letter", "a🏽", 3, 1},
      {"a keycap", "1\uFE0F\u20E3", 2, 1},
      {"a digit with U+FE0F alone", "1\uFE0F", 1, 1},
      {"a combining accent", "e\u0301", 1, 1},
      {"beyond the BMP", "𠮷", 2, 1},
      {"Hangul", "한", 2, 1},
      {"conjoining Hangul", "\u1112\u1161\u11AB", 2, 1},
      {"a zero-width space", "\u200B", 0, 1},
      {"a zero-width space between letters", "a\u200Bb", 2, 2},
      {"an invalid byte", "\xFF", 1, 1},
      {"a cut character, then ASCII", "\xE3\x81" "a", 2, 2},
      {"an encoded surrogate", "\xED\xA0\x80", 1, 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TextColumns(c.text), c.columns);
    // The clusters tile the text and add up to the same; so they do with
    // ASCII and kanji around them, where the fast paths meet the rest (and
    // what begins with zero width joins the letter before it).
    const std::string around = "ab" + std::string(c.text) + "表c";
    EXPECT_EQ(TextColumns(around), c.columns + 5);
    for (const std::string& text : {std::string(c.text), around}) {
      std::size_t at = 0, columns = 0, count = 0;
      for (const Cluster& cluster : Clusters(text)) {
        EXPECT_EQ(cluster.begin, at);
        EXPECT_GT(cluster.end, cluster.begin);
        at = cluster.end;
        columns += static_cast<std::size_t>(cluster.columns);
        ++count;
      }
      EXPECT_EQ(at, text.size());
      EXPECT_EQ(columns, TextColumns(text));
      if (text == c.text) {
        EXPECT_EQ(count, c.clusters);
      }
    }
  }
  EXPECT_EQ(CharColumns(U'\u0301'), 0);
  EXPECT_EQ(CharColumns(0x110000), 1);
}

// Every code point the code page encodes takes its code's bytes, alone and
// in any text of them, bad bytes among them (one column for each "?"); under
// the narrow rule, the columns a terminal gives it.
TEST(Width, CodePageTextMeasuresAsItEncodes) {
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);  // for wcwidth
  std::vector<std::string> held;
  for (char32_t cp = 0; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const std::string utf8 = Utf8Of(cp);
    std::size_t replaced = 0;
    const std::size_t bytes = Utf8ToCp932(utf8, &replaced).size();
    if (replaced != 0) continue;
    ASSERT_EQ(static_cast<std::size_t>(CharColumns(cp)), bytes) << std::hex << "U+" << static_cast<unsigned>(cp);
    ASSERT_EQ(TextColumns(utf8), bytes) << std::hex << "U+" << static_cast<unsigned>(cp);
    held.push_back(utf8);
    const WidthRuleScope narrow(WidthRule::Narrow);  // control codes aside, as glibc draws it
    const int terminal = cp < 0x20 || cp == 0x7F ? 1 : ::wcwidth(static_cast<wchar_t>(cp));
    ASSERT_EQ(CharColumns(cp), terminal) << std::hex << "U+" << static_cast<unsigned>(cp);
    ASSERT_EQ(TextColumns(utf8), static_cast<std::size_t>(terminal)) << utf8;
  }
  std::setlocale(LC_ALL, locale.c_str());
  ASSERT_GT(held.size(), 7000u);
  const std::string_view kBad[] = {"\xFF", "\xFE", "\xE3\x81", "\xC0\xAF", "\xF0\x9F\x98"};
  std::mt19937 random(29);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int k = static_cast<int>(random() % 24); k > 0; --k) {
      text += random() % 8 ? held[random() % held.size()] : std::string(kBad[random() % 5]);
    }
    ASSERT_EQ(TextColumns(text), Cp932Length(text)) << text;
  }
}

// The measure of a whole text, with its quick roads for ASCII and for plain
// three-byte characters, agrees with its clusters one by one, and counts the
// bad sequences SanitizeUtf8 would replace: over random mixtures of what
// joins the character before and what does not, under either rule.
TEST(Width, TextColumnsIsTheSumOfItsClusters) {
  const std::string_view kPieces[] = {
      "a",      "1",  "表", "か",     "ｶ",      "〜",       "é",           "e",      "\u0301",
      "\u3099", "✅",  "⚠",  "\uFE0F", "\u200D", "👩",        "🇯",           "\u20E3", "🏽",
      "한",     "𠮷", "⌚",  "\t",     "\xFF",   "\xE3\x81", "\xED\xA0\x80"};
  const std::string_view kNarrowed[] = {"○", "α", "¢", "♂"};  // one column under the narrow rule
  std::mt19937 random(30);
  for (int round = 0; round < 10000; ++round) {
    const WidthRuleScope rule(round % 2 ? WidthRule::Narrow : WidthRule::Wide);
    std::string text;
    for (int k = static_cast<int>(random() % 12); k > 0; --k)
      text += random() % 5 ? kPieces[random() % std::size(kPieces)]
                           : kNarrowed[random() % std::size(kNarrowed)];
    std::size_t sum = 0;
    for (const Cluster& c : Clusters(text)) sum += static_cast<std::size_t>(c.columns);
    std::size_t bad = 0;
    ASSERT_EQ(TextColumns(text, &bad), sum) << text;
    ASSERT_EQ(bad, BadUtf8Count(text)) << text;
    // The fields of the same text as a line, measured in one pass, each as
    // a text of its own.
    std::size_t widths[3] = {}, want[3] = {}, field = 0, fieldBad = 0;
    for (std::string_view rest = text;; ++field) {
      const std::size_t tab = std::min(rest.find('\t'), rest.size());
      if (field < 3) want[field] = TextColumns(rest.substr(0, tab));
      if (tab == rest.size()) break;
      rest.remove_prefix(tab + 1);
    }
    WidenToColumnFields(text, widths, &fieldBad);
    ASSERT_TRUE(std::equal(widths, widths + 3, want)) << text;
    ASSERT_EQ(fieldBad, BadUtf8Count(text)) << text;
  }
}

}  // namespace
}  // namespace tabulon
