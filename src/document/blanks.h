// Blanks in text: bytes 0 to 32 (the blank and the control codes), which
// are the same in every encoding the program reads and never part of
// another character. The full-width blank is text, never stripped.
#pragma once

#include <string_view>

namespace tabulon {

inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

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
