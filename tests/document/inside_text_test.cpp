#include "document/inside_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tabulon {
namespace {

// What every road in and out must keep, whatever the inside text is: text
// of the code page comes back exactly from UTF-8 and from CP932, and goes
// out as CP932 as the code page writes it, with nothing noted.
TEST(InsideText, CodePageTextCrossesEveryRoadUnchanged) {
  struct Case {
    const char* utf8;
    const char* cp932;
  };
  const Case cases[] = {
      {"", ""},
      {"Name\t1 ~\\\r\n", "Name\t1 ~\\\r\n"},
      {"名前", "\x96\xBC\x91\x4F"},
      {"ｶﾀｶﾅ", "\xB6\xC0\xB6\xC5"},
      {"①Ⅰ＼～", "\x87\x40\x87\x54\x81\x5F\x81\x60"},
      {"┌─┐\u3000", "\x84\xA1\x84\x9F\x84\xA2\x81\x40"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    Replacements replaced;
    std::size_t count = 0;
    const std::string fromUtf8 = InsideFromUtf8(c.utf8, replaced);
    const std::string fromCp932 = InsideFromCp932(c.cp932, &count);
    EXPECT_EQ(fromUtf8, fromCp932);
    EXPECT_EQ(Utf8FromInside(fromUtf8), c.utf8);
    EXPECT_EQ(Cp932FromInside(fromCp932, replaced), c.cp932);
    EXPECT_EQ(Cp932FromInside(fromUtf8, &count), c.cp932);
    EXPECT_EQ(replaced.count, 0U);
    EXPECT_EQ(count, 0U);
  }
}

// A character the code page lacks reaches a CP932 output as one noted "?",
// whichever side of the seam notes it.
TEST(InsideText, CharacterTheCodePageLacksIsOneNotedQuestionMarkInCp932) {
  Replacements replaced;
  EXPECT_EQ(Cp932FromInside(InsideFromUtf8("aé", replaced), replaced), "a?");
  EXPECT_EQ(replaced.count, 1U);
  ASSERT_EQ(replaced.chars.size(), 1U);
  EXPECT_EQ(replaced.chars[0], "é");
}

}  // namespace
}  // namespace tabulon
