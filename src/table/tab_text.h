// Tab text, as spreadsheets copy cells: records of TAB-separated fields, a
// cell with a line break or a double quote between double quotes. The
// reader, the wrapped forms and the paste store it through these.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "table/reader.h"

namespace tabulon {

// Text widths found for each grid column while reading (entries 2 to 36).
using ColumnWidths = std::array<int, kColCount>;

// Cuts a line at every TAB; an empty line gives one empty field. Calls
// `field(index, text)` for each field in order.
template <typename Fn>
void SplitTabFields(std::string_view line, Fn&& field) {
  int i = 0;
  for (;;) {
    const std::size_t tab = line.find('\t');
    field(i++, line.substr(0, tab));
    if (tab == std::string_view::npos) return;
    line.remove_prefix(tab + 1);
  }
}

// A spreadsheet copies a cell that holds a line break or a double quote
// between double quotes, each quote inside doubled. In tab text a double
// quote at the start of a field opens such a field only when its closing
// quote is followed by a TAB, a line break or the end of the text, and the
// text between holds a line break or a doubled quote, holds no TAB, and
// neither begins nor ends with a line break. Any other quote is plain text,
// so a lone quote (a ditto mark) never swallows the cells after it.
//
// Whether a field of `lines` (a text cut by SplitLines) is quoted that way.
// Without one, every line is a record of its own, cut at each TAB.
bool HasQuotedField(const std::vector<std::string>& lines);

// Whether the first field of `lines` is quoted that way and a TAB follows
// it, so that the first record holds a TAB although its first line does not.
bool QuotedFirstFieldBeforeTab(const std::vector<std::string>& lines);

// The records of tab text in order: a record is one line, or several where
// a quoted field spans line breaks. A quoted field has one line per line of
// its text, with each doubled quote made one; any other field has one line.
class TabRecords {
 public:
  explicit TabRecords(const std::vector<std::string>& lines) : lines_(lines) {}
  explicit TabRecords(std::vector<std::string>&&) = delete;  // keeps views into the lines

  // Moves to the next record; false after the last.
  bool Next();

  std::size_t FieldCount() const { return fields_.size(); }
  std::size_t LineCount(std::size_t field) const { return fields_[field].count; }
  std::string_view Line(std::size_t field, std::size_t line) const;
  // Grid rows the record takes: the line count of its tallest field.
  std::size_t Rows() const { return rows_; }
  // True when the record is one empty line of the text.
  bool Empty() const { return empty_; }

 private:
  // A line of a field: bytes of a text line, or of buffer_ where doubled
  // quotes were made one.
  struct Piece {
    const char* text;  // null: in buffer_ at `offset`
    std::size_t offset, size;
  };
  struct Field {
    std::size_t first, count;  // in pieces_
  };
  void AddPiece(std::string_view text, bool quoted);

  const std::vector<std::string>& lines_;
  std::size_t next_ = 0;  // the line the next record begins at
  std::vector<Field> fields_;
  std::vector<Piece> pieces_;
  std::string buffer_;
  std::size_t rows_ = 0;
  bool empty_ = false;
};

// True when every character is one of "+,-.0123456789", the backslash (which
// Japanese fonts draw as the yen sign, and the code page's yen) or the yen
// sign U+00A5 (which the code page writes as that backslash); true for the
// empty text.
bool IsNumericText(std::string_view text);

// Widens w[firstCol + i] to the columns of field i of a tab text line,
// for the fields that land in grid columns up to 36; the rest of the line is
// not looked at.
void WidenToFields(ColumnWidths& w, std::string_view line, int firstCol = kFirstDataCol);

// Stores the fields of one tab text line with field 0 at (firstCol, row),
// each without its trailing blanks; with `numbersTo`, a field whose
// stripped text is numeric is kept whole and right-aligned to the column's
// width there instead. Nothing is stored outside the grid; with a report,
// what falls outside is counted (the line, when not empty, below the grid;
// each non-empty field beyond column 36).
void StoreTabLine(Document& doc, int firstCol, std::size_t row, std::string_view line,
                  const ColumnWidths* numbersTo, ReadReport* report);

// Stores spreadsheet text with its first field at (firstCol, firstRow),
// numbers right-aligned to the widest field of their column, the lines that
// fall below the grid measured too, and returns those widths. Where a field
// is quoted (HasQuotedField; looked for only when `quotes`), each record
// goes in the row below the one before, one grid row for each line of its
// tallest field, the rows after its first marked as continuations and its
// first as none. Nothing is stored outside the grid; with a report, what
// falls outside is counted.
ColumnWidths StoreTabText(Document& doc, const std::vector<std::string>& lines, bool quotes,
                          int firstCol, std::size_t firstRow, ReadReport* report);

// Sets each data column to its text width w[c] (at least two columns), then
// widens it to its widest cell.
void ApplyTextWidths(Document& doc, const ColumnWidths& w);

}  // namespace tabulon
