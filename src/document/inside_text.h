// The one seam where text crosses between the outside (UTF-8 from the
// toolkit, the clipboard and files; CP932 files and filter input) and the
// text every cell, title and table holds inside. Every road in and out goes
// through these functions and through no other conversion, so what the
// inside text is decides only their bodies.
//
// Inside text is CP932 bytes: from UTF-8, characters CP932 lacks and bad
// byte sequences become "?" (counted, as the codec counts them); CP932 goes
// in and out as it stands.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "document/codec.h"

namespace tabulon {

// UTF-8 from outside, made inside text; what could not be kept is added to
// `replaced` (count and names) or to *replaced (count only).
inline std::string InsideFromUtf8(std::string_view utf8, Replacements& replaced) {
  return Utf8ToCp932(utf8, replaced);
}
inline std::string InsideFromUtf8(std::string_view utf8, std::size_t* replaced = nullptr) {
  return Utf8ToCp932(utf8, replaced);
}

// Inside text as UTF-8 for the outside; nothing is lost on this way.
inline std::string Utf8FromInside(std::string_view inside) {
  return Cp932ToUtf8(inside);
}

// CP932 bytes from outside (a file, the filter's input), made inside text;
// bytes that are no character are told in `replaced` / *replaced.
inline std::string InsideFromCp932(std::string_view cp932, Replacements& /*replaced*/) {
  return std::string(cp932);
}
inline std::string InsideFromCp932(std::string_view cp932, std::size_t* /*replaced*/ = nullptr) {
  return std::string(cp932);
}

// Inside text as CP932 bytes for the outside (a file saved as CP932, the
// filter's CP932 output); characters CP932 lacks are told in `replaced` /
// *replaced.
inline std::string Cp932FromInside(std::string_view inside, Replacements& /*replaced*/) {
  return std::string(inside);
}
inline std::string Cp932FromInside(std::string_view inside, std::size_t* /*replaced*/ = nullptr) {
  return std::string(inside);
}

}  // namespace tabulon
