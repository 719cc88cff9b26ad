#include "document/text_columns.h"

#include <algorithm>
#include <utility>

namespace tabulon {

namespace {

// Where the clusters from the start reach `column`: the byte and column of
// the cluster that covers it, or of the text's end when it is narrower.
struct Reach {
  std::size_t byte = 0;
  long column = 0;
  int width = 0;  // columns of the cluster at `byte`, 0 at the end
};

Reach ReachColumn(std::string_view text, long column) {
  Reach r;
  while (r.byte < text.size()) {
    const Cluster c = ClusterAt(text, r.byte);
    if (r.column + c.columns > column) {
      r.width = c.columns;
      return r;
    }
    r.byte = c.end;
    r.column += c.columns;
  }
  return r;
}

}  // namespace

int Columns(std::string_view text) {
  return static_cast<int>(TextColumns(text));
}

std::size_t ByteAtColumn(std::string_view text, long column) {
  if (column <= 0) return 0;
  return ReachColumn(text, column).byte;
}

long ColumnAtByte(std::string_view text, std::size_t byte) {
  return static_cast<long>(Columns(text.substr(0, CharStartAt(text, byte))));
}

std::string_view ColumnSlice(std::string_view text, long from, long count) {
  return ColumnSlicer(text).Slice(from, count);
}

std::string_view ColumnSlicer::Slice(long from, long count) {
  if (from < 0) from = 0;
  if (count <= 0) return {};
  const std::size_t begin = ByteFrom(from);
  const long end = count > LONG_MAX - from ? LONG_MAX : from + count;  // "to the end"
  const std::size_t stop = std::max(begin, ByteFrom(end));
  return text_.substr(begin, stop - begin);
}

std::size_t ColumnSlicer::ByteFrom(long column) {
  if (column < column_) byte_ = 0, column_ = 0;
  while (byte_ < text_.size() && column_ < column) {
    const Cluster c = ClusterAt(text_, byte_);
    byte_ = c.end;
    column_ += c.columns;
  }
  return byte_;
}

bool InsideCharAt(std::string_view text, long column) {
  if (column <= 0) return false;
  const Reach r = ReachColumn(text, column);
  return r.byte < text.size() && r.column < column;
}

std::string_view WholeCharsSpanning(std::string_view text, long columns) {
  std::size_t end = 0;
  long reached = 0;
  while (end < text.size() && reached < columns) {
    const Cluster c = ClusterAt(text, end);
    end = c.end;
    reached += c.columns;
  }
  // Marks and joiners that follow belong to the last character taken.
  return text.substr(0, end);
}

std::size_t CharStartAt(std::string_view text, std::size_t byte) {
  byte = std::min(byte, text.size());
  std::size_t start = 0;
  while (start < byte) {
    const std::size_t next = ClusterAt(text, start).end;
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
  return text.find(needle, from);
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
  std::size_t done = 0;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, done)) {
    out.append(text, done, at - done);
    out.append(to);
    done = at + from.size();
  }
  out.append(text, done);
  text = std::move(out);
}

}  // namespace tabulon
