// Byte-string helpers for code page 932 text. Every text inside Tabulon is a
// CP932 byte string, and one byte is one display column.
#pragma once

#include <cstddef>
#include <string>
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

// Display width of a CP932 text: its length in bytes.
inline int ByteWidth(std::string_view text) {
  return static_cast<int>(text.size());
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

// True when byte `pos` is the second half of a double-byte character,
// found by walking the characters from the start of the text.
bool IsTrailByteAt(std::string_view text, std::size_t pos);

// Finds `needle` in `text` starting at a character boundary, walking
// character by character so that a match never begins on a trail byte.
// Returns the 0-based byte offset, or npos.
std::size_t FindText(std::string_view text, std::string_view needle);
inline bool ContainsText(std::string_view text, std::string_view needle) {
  return FindText(text, needle) != std::string_view::npos;
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

// Pads with blanks on the right (left-justified) or on the left
// (right-justified) to `width` bytes; a longer text is returned whole.
std::string PadRight(std::string_view text, int width);
std::string PadLeft(std::string_view text, int width);

// Replaces the first occurrence of `from` (found as FindText finds it) by
// `to`; returns false and leaves the text alone when there is none.
bool ReplaceFirst(std::string& text, std::string_view from, std::string_view to);
// Replaces every occurrence, walking characters so trail bytes never match.
void ReplaceAllChars(std::string& text, std::string_view from, std::string_view to);

}  // namespace tabulon
