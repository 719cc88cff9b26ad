// The byte rules of code page 932 text: where its characters begin. Only
// the codec reads CP932; text inside is UTF-8.
#pragma once

#include <cstddef>
#include <string_view>

namespace tabulon {

// First byte of a double-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Second byte of a double-byte character (0x40-0x7E, 0x80-0xFC).
constexpr bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Length in bytes of the character that starts at `pos`: 2 for a lead byte
// followed by a trail byte, otherwise 1. A lone lead byte (left by a cut, or
// followed by a control code or a blank) is a character of its own.
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
  return (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
          IsTrailByte(static_cast<unsigned char>(text[pos + 1])))
             ? 2
             : 1;
}

}  // namespace tabulon
