#include "document/cp932.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

// The byte rules the codec reads code page text by.
TEST(Cp932Bytes, LeadByteRangeBoundaries) {
  for (int b : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsLeadByte(b)) << b;
  for (int b : {0x00, 0x5C, 0x7F, 0x80, 0xA0, 0xB1, 0xDF, 0xFD, 0xFF})
    EXPECT_FALSE(IsLeadByte(b)) << b;
  EXPECT_EQ(CharLength("\x88\x9f", 0), 2u);  // 亜
  EXPECT_EQ(CharLength("a\x83", 1), 1u);     // a lone lead byte at the end stands alone
  EXPECT_EQ(CharLength("\x83 ", 0), 1u);     // and before a byte that is no trail byte
}

}  // namespace
}  // namespace tabulon
