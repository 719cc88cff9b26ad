// How text inside is measured and cut in display columns: the core asks
// only these how wide a text is, where a column begins and where a
// character begins. Text inside is UTF-8; its columns are those of
// document/width.h, under its current rule (WidthRule), and what is drawn
// as one (a cluster: a character with its marks, an emoji sequence) is
// never cut. Column and byte positions here are 0-based.
#pragma once

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>

#include "document/width.h"

namespace tabulon {

// Width of a text in display columns.
int Columns(std::string_view text);

// Byte offset of the cluster that covers column `column` (where it begins,
// also for a column in the second half of a two-column character); the end
// of the text for a column at or past its width, the start for a negative one.
std::size_t ByteAtColumn(std::string_view text, long column);

// Column where the byte at offset `byte` is drawn: the columns before it.
long ColumnAtByte(std::string_view text, std::size_t byte);

// The whole clusters within the first `count` columns (all of the text when
// it is narrower): a two-column character cut in half is left out, and the
// result is then one column narrower than `count`.
inline std::string_view CutToColumns(std::string_view text, long count) {
  return text.substr(0, ByteAtColumn(text, count));
}

// The clusters that begin within the `count` columns from column `from`, so
// that slices side by side share out a text without losing a character;
// empty where the range lies outside the text.
std::string_view ColumnSlice(std::string_view text, long from, long count);

// ColumnSlice for many slices of one text taken left to right: each walks
// on from where the one before stopped (a slice left of that walks from the
// start again), so a line's cells cost one walk over it.
class ColumnSlicer {
 public:
  explicit ColumnSlicer(std::string_view text) : text_(text) {}
  std::string_view Slice(long from, long count);

 private:
  // The byte of the first cluster that begins at or after `column`.
  std::size_t ByteFrom(long column);

  std::string_view text_;
  std::size_t byte_ = 0;  // where a cluster begins
  long column_ = 0;       // and its column
};

// Whether column `column` is not the first of the cluster that covers it
// (the second half of a two-column character).
bool InsideCharAt(std::string_view text, long column);

// The shortest run of whole characters from the start that is at least
// `columns` wide (the whole text when it is narrower).
std::string_view WholeCharsSpanning(std::string_view text, long columns);

// Start of the cluster that holds byte `byte` (the byte itself where one
// begins there): where a text can be cut without splitting a character.
std::size_t CharStartAt(std::string_view text, std::size_t byte);

// Pads with blanks on the right (left-justified) or on the left
// (right-justified) to `width` columns; a wider text is returned whole.
std::string PadRight(std::string_view text, int width);
std::string PadLeft(std::string_view text, int width);

// Finds `needle` in `text` at or after byte `from`. UTF-8 keeps a whole
// character from matching inside another, so this is a plain search.
// Returns the 0-based byte offset, or npos.
std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from = 0);
inline bool ContainsText(std::string_view text, std::string_view needle) {
  return FindText(text, needle) != std::string_view::npos;
}

// Replaces the first occurrence of `from` by `to`; returns false and leaves
// the text alone when there is none.
bool ReplaceFirst(std::string& text, std::string_view from, std::string_view to);
// Replaces every occurrence.
void ReplaceAllChars(std::string& text, std::string_view from, std::string_view to);

}  // namespace tabulon
