// How text inside is measured and cut in display columns: the core asks
// only these how wide a text is, where a column begins and where a
// character begins. Text inside is CP932 bytes, one byte one column (a
// double-byte character two); a cut that falls inside a double-byte
// character leaves its lead byte, as the tables have always been cut.
// Column and byte positions here are 0-based.
#pragma once

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon {

// Width of a text in display columns.
inline int Columns(std::string_view text) {
  return static_cast<int>(text.size());
}

// Byte offset where column `column` begins; the end of the text for a
// column at or past its width, the start for a negative one. A column in
// the second half of a character gives that half's byte (see InsideCharAt).
inline std::size_t ByteAtColumn(std::string_view text, long column) {
  if (column <= 0) return 0;
  const auto at = static_cast<std::size_t>(column);
  return at < text.size() ? at : text.size();
}

// Column where the byte at offset `byte` is drawn.
inline long ColumnAtByte(std::string_view /*text*/, std::size_t byte) {
  return static_cast<long>(byte);
}

// The first `count` columns of the text (all of it when it is narrower).
inline std::string_view CutToColumns(std::string_view text, long count) {
  return text.substr(0, ByteAtColumn(text, count));
}

// `count` columns from column `from`; empty where the range lies outside the
// text, cut at the text's end where it reaches past it.
inline std::string_view ColumnSlice(std::string_view text, long from, long count) {
  if (from < 0) from = 0;
  if (count <= 0) return {};
  const std::size_t begin = ByteAtColumn(text, from);
  const long end = count > LONG_MAX - from ? LONG_MAX : from + count;  // "to the end"
  return text.substr(begin, ByteAtColumn(text, end) - begin);
}

// Whether column `column` is not the first of the character that covers it
// (the second half of a double-byte character).
bool InsideCharAt(std::string_view text, long column);

// The shortest run of whole characters from the start that is at least
// `columns` wide (the whole text when it is narrower).
std::string_view WholeCharsSpanning(std::string_view text, long columns);

// Start of the character that holds byte `byte` (the byte itself where a
// character begins there): where a text can be cut without splitting one.
std::size_t CharStartAt(std::string_view text, std::size_t byte);

// Pads with blanks on the right (left-justified) or on the left
// (right-justified) to `width` columns; a wider text is returned whole.
std::string PadRight(std::string_view text, int width);
std::string PadLeft(std::string_view text, int width);

// Finds `needle` in `text` at or after byte `from`, which must be where a
// character begins; a match counts only where a character begins, so that
// "\" or "|" never match the second half of a double-byte character.
// Returns the 0-based byte offset, or npos.
std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from = 0);
inline bool ContainsText(std::string_view text, std::string_view needle) {
  return FindText(text, needle) != std::string_view::npos;
}

// Replaces the first occurrence of `from` (found as FindText finds it) by
// `to`; returns false and leaves the text alone when there is none.
bool ReplaceFirst(std::string& text, std::string_view from, std::string_view to);
// Replaces every occurrence, walking characters so halves never match.
void ReplaceAllChars(std::string& text, std::string_view from, std::string_view to);

}  // namespace tabulon
