// A quick search for the TAB that ends a field.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tabulon {

// The first TAB at or after `p`, or `end`. Most fields are short: a look
// at the next eight bytes at a time, twice, finds their end without a call
// to memchr.
inline const char* FindTab(const char* p, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    for (int i = 0; i < 2 && end - p >= 8; ++i, p += 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      const std::uint64_t x = word ^ 0x0909090909090909u;  // a TAB is now 0
      // The lowest byte that is 0 sets its high bit; bytes above it may too.
      const std::uint64_t zero = (x - 0x0101010101010101u) & ~x & 0x8080808080808080u;
      if (zero != 0) return p + std::countr_zero(zero) / 8;
    }
  }
  const void* tab = std::memchr(p, '\t', static_cast<std::size_t>(end - p));
  return tab ? static_cast<const char*>(tab) : end;
}

}  // namespace tabulon
