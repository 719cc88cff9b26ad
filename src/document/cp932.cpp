#include "document/cp932.h"

namespace tabulon {

bool IsTrailByteAt(std::string_view text, std::size_t pos) {
  std::size_t i = 0;
  while (i < pos) i += CharLength(text, i);
  return i != pos;
}

}  // namespace tabulon
