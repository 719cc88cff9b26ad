#include "document/cp932.h"

#include <utility>

namespace tabulon {

bool IsTrailByteAt(std::string_view text, std::size_t pos) {
  std::size_t i = 0;
  while (i < pos) i += CharLength(text, i);
  return i != pos;
}

std::size_t FindText(std::string_view text, std::string_view needle) {
  if (needle.empty()) return 0;
  // The byte search finds the candidates fast; each counts only where a
  // character begins, which a walk from the last boundary tells.
  std::size_t boundary = 0;
  for (std::size_t at = text.find(needle); at != std::string_view::npos;
       at = text.find(needle, at + 1)) {
    while (boundary < at) boundary += CharLength(text, boundary);
    if (boundary == at) return at;
  }
  return std::string_view::npos;
}

std::string PadRight(std::string_view text, int width) {
  std::string out(text);
  if (static_cast<int>(out.size()) < width) out.append(width - out.size(), ' ');
  return out;
}

std::string PadLeft(std::string_view text, int width) {
  std::string out;
  if (static_cast<int>(text.size()) < width) out.assign(width - text.size(), ' ');
  out.append(text);
  return out;
}

bool ReplaceFirst(std::string& text, std::string_view from, std::string_view to) {
  const std::size_t at = FindText(text, from);
  if (at == std::string::npos) return false;
  text.replace(at, from.size(), to);
  return true;
}

void ReplaceAllChars(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, from.size(), from) == 0) {
      out.append(to);
      i += from.size();
    } else {
      const std::size_t n = CharLength(text, i);
      out.append(text, i, n);
      i += n;
    }
  }
  text = std::move(out);
}

}  // namespace tabulon
