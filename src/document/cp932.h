// Byte-string helpers for code page 932 text: where its characters begin,
// and blanks. Widths, cuts and finds go through document/text_columns.h.
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

inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Bytes 0 to 32 (blank and control codes) count as blanks for stripping.
// The double-byte blank is never stripped: its bytes are above 32.
constexpr bool IsBlankByte(unsigned char b) {
  return b <= 32;
}
inline std::string_view StripLeading(std::string_view text) {
  std::size_t b = 0;
  while (b < text.size() && IsBlankByte(static_cast<unsigned char>(text[b]))) ++b;
  return {text.data() + b, text.size() - b};
}
inline std::string_view StripTrailing(std::string_view text) {
  std::size_t e = text.size();
  while (e > 0 && IsBlankByte(static_cast<unsigned char>(text[e - 1]))) --e;
  return {text.data(), e};
}
inline std::string_view StripText(std::string_view text) {
  return StripTrailing(StripLeading(text));
}
// Whether the text holds nothing but blanks (StripText leaves it empty);
// looked at from the front, where most texts have something else.
inline bool IsBlankText(std::string_view text) {
  for (const char ch : text) {
    if (!IsBlankByte(static_cast<unsigned char>(ch))) return false;
  }
  return true;
}

}  // namespace tabulon
