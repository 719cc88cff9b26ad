// The one seam where text crosses between the outside (UTF-8 from the
// toolkit, the clipboard and files; CP932 files and filter input) and the
// text every cell, title and table holds inside. Every road in and out goes
// through these functions and through no other conversion.
//
// Inside text is well-formed UTF-8, measured in display columns by
// document/width.h. From UTF-8 only bad byte sequences are lost (each becomes
// U+FFFD, told); from CP932 a byte that is no character becomes U+FFFD, told;
// to CP932 a character the code page lacks becomes one "?" for each column
// it takes, told, so that a table stays lined up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "document/codec.h"

namespace tabulon {

namespace detail {
// Runs `convert` with a Replacements and adds its count to *replaced.
template <typename Convert>
std::string CountingOnly(std::size_t* replaced, Convert convert) {
  Replacements told;
  std::string out = convert(told);
  if (replaced != nullptr) *replaced += told.count;
  return out;
}
}  // namespace detail

// UTF-8 from outside, made inside text; what could not be kept is added to
// `replaced` (count and names) or to *replaced (count only).
inline std::string InsideFromUtf8(std::string_view utf8, Replacements& replaced) {
  return SanitizeUtf8(utf8, replaced);
}
inline std::string InsideFromUtf8(std::string_view utf8, std::size_t* replaced = nullptr) {
  return detail::CountingOnly(replaced,
                              [utf8](Replacements& told) { return SanitizeUtf8(utf8, told); });
}

// Inside text as UTF-8 for the outside; nothing is lost on this way.
inline std::string Utf8FromInside(std::string_view inside) {
  return std::string(inside);
}

// CP932 bytes from outside (a file, the filter's input), made inside text;
// bytes that are no character are told in `replaced` / *replaced.
inline std::string InsideFromCp932(std::string_view cp932, Replacements& replaced) {
  return DecodeCp932(cp932, replaced);
}
inline std::string InsideFromCp932(std::string_view cp932, std::size_t* replaced = nullptr) {
  return detail::CountingOnly(replaced,
                              [cp932](Replacements& told) { return DecodeCp932(cp932, told); });
}

// Inside text as CP932 bytes for the outside (a file saved as CP932, the
// filter's CP932 output); characters CP932 lacks are told in `replaced` /
// *replaced.
inline std::string Cp932FromInside(std::string_view inside, Replacements& replaced) {
  return EncodeCp932(inside, replaced);
}
inline std::string Cp932FromInside(std::string_view inside, std::size_t* replaced = nullptr) {
  return detail::CountingOnly(replaced,
                              [inside](Replacements& told) { return EncodeCp932(inside, told); });
}

}  // namespace tabulon
