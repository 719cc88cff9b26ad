// The codec's fast paths against the plain definitions they stand for, on
// random texts full of the cases that break them: characters split across
// the eight- and 64-byte steps and the pieces of the output, bad UTF-8, TABs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "document/codec.h"

namespace tabulon {
namespace {

// UTF-8 made of ASCII, TABs, kanji, half-width kana, characters CP932 lacks
// (two-, three- and four-byte), and bad bytes.
std::string RandomUtf8(std::mt19937& random, std::size_t pieces) {
  static const char* const kPieces[] = {
      "a",
      "Zq7",
      "\t",
      "\t\t",
      "\xE8\xA1\xA8",      // 表
      "\xEF\xBD\xB1",      // ｱ
      "\xC3\xA9",          // é, lacking
      "\xCE\xB1",          // α
      "\xE2\x82\xAC",      // €, lacking
      "\xF0\x9F\x98\x80",  // beyond the BMP
      "\x80",
      "\xE5\x90",
      "\xFF",
      "\xED\xA0\x80",
      "\xC2\xA5",  // bad ones, ¥
      "        ",
  };
  std::string s;
  for (std::size_t i = 0; i < pieces; ++i) s += kPieces[random() % std::size(kPieces)];
  return s;
}

TEST(Cp932Walk, ConvertingATextIsConvertingItsPiecesInTurn) {
  std::mt19937 random(8);
  for (int round = 0; round < 2000; ++round) {
    // Pieces that end at a character boundary: joined, they convert as they
    // do one by one.
    std::string text, want;
    std::size_t wantReplaced = 0;
    for (int k = static_cast<int>(random() % 12); k > 0; --k) {
      std::string piece = RandomUtf8(random, random() % 6);
      if (!piece.empty() && static_cast<unsigned char>(piece.back()) >= 0x80) piece += 'x';
      text += piece;
      want += Utf8ToCp932(piece, &wantReplaced);
    }
    std::size_t replaced = 0;
    ASSERT_EQ(Utf8ToCp932(text, &replaced), want) << testing::PrintToString(text);
    ASSERT_EQ(replaced, wantReplaced);
  }
}

TEST(Cp932Walk, DecodingATextIsDecodingItsCharactersInTurn) {
  // Whole characters: ASCII, a one-byte kana, kanji, a pair CP932 leaves
  // unassigned (with an ASCII and with a non-ASCII trail), undefined bytes.
  static const char* const kChars[] = {"a",        "\t",       "\xB1", "\x88\x9F", "\x84\xA0",
                                       "\x85\x40", "\xEA\xA5", "\x80", "\xFD",     "abcdefghijk"};
  std::mt19937 random(4);
  for (int round = 0; round < 200; ++round) {
    // Long enough to cross the 4096-byte pieces the output is made in.
    std::string cp932, want = "head";
    const std::size_t length = 4000 + random() % 9000;
    while (cp932.size() < length) {
      const std::string_view ch = kChars[random() % std::size(kChars)];
      cp932 += ch;
      want += Cp932ToUtf8(ch);
    }
    if (round % 2) {
      cp932 += '\x88';  // a lone lead byte at the end
      want += Cp932ToUtf8("\x88");
    }
    std::string out = "head";
    AppendCp932ToUtf8(out, cp932);
    ASSERT_EQ(out, want) << "round " << round;
    ASSERT_EQ(Cp932ToUtf8(cp932), want.substr(4)) << "round " << round;
  }
}

}  // namespace
}  // namespace tabulon
