// Test helpers: literals are written in UTF-8 and compared as CP932 bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/codec.h"

namespace tabulon::testing {

inline std::string Sj(std::string_view utf8) {
  return Utf8ToCp932(utf8);
}

inline std::vector<std::string> SjLines(std::initializer_list<std::string_view> utf8) {
  std::vector<std::string> out;
  for (std::string_view s : utf8) out.push_back(Sj(s));
  return out;
}

// CP932 lines back in UTF-8, for readable failure messages.
inline std::vector<std::string> Utf8Lines(const std::vector<std::string>& cp932) {
  std::vector<std::string> out;
  for (const std::string& s : cp932) out.push_back(Cp932ToUtf8(s));
  return out;
}

}  // namespace tabulon::testing
