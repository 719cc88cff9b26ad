#include "document/text_columns.h"

#include <algorithm>
#include <utility>

#include "document/cp932.h"

namespace tabulon {

bool InsideCharAt(std::string_view text, long column) {
  const std::size_t at = ByteAtColumn(text, column);
  return at < text.size() && CharStartAt(text, at) != at;
}

std::string_view WholeCharsSpanning(std::string_view text, long columns) {
  if (Columns(text) <= columns) return text;
  std::size_t end = 0;
  while (ColumnAtByte(text, end) < columns) end += CharLength(text, end);
  return text.substr(0, end);
}

std::size_t CharStartAt(std::string_view text, std::size_t byte) {
  byte = std::min(byte, text.size());
  std::size_t start = 0;
  while (start < byte) {
    const std::size_t next = start + CharLength(text, start);
    if (next > byte) break;
    start = next;
  }
  return start;
}

std::string PadRight(std::string_view text, int width) {
  std::string out(text);
  const int columns = Columns(text);
  if (columns < width) out.append(static_cast<std::size_t>(width - columns), ' ');
  return out;
}

std::string PadLeft(std::string_view text, int width) {
  std::string out;
  const int columns = Columns(text);
  if (columns < width) out.assign(static_cast<std::size_t>(width - columns), ' ');
  out.append(text);
  return out;
}

std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  if (needle.empty()) return from;
  // The byte search finds the candidates fast; each counts only where a
  // character begins, which a walk from the last boundary tells.
  std::size_t boundary = from;
  for (std::size_t at = text.find(needle, from); at != std::string_view::npos;
       at = text.find(needle, at + 1)) {
    while (boundary < at) boundary += CharLength(text, boundary);
    if (boundary == at) return at;
  }
  return std::string_view::npos;
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
