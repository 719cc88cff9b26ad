// The table reader: fills the grid document from clipboard text. It reads
// what it recognises and leaves the rest; it never fails.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"

namespace tabulon {

// Text widths found for each grid column while reading (entries 2 to 36).
using ColumnWidths = std::array<int, kColCount>;

// What a read did with the text; only counts what was left out.
struct ReadReport {
  enum class Kind { Nothing, GeneratedTable, PlainTabText, WrappedTabText };
  Kind kind = Kind::Nothing;
  long rowsLeftOut = 0;    // non-empty lines that fall below grid row 256
  long fieldsLeftOut = 0;  // non-empty fields that fall beyond grid column 36
};

// Splits text into lines at CR LF, lone LF and lone CR. A line break at the
// very end ends the last line and does not begin another.
std::vector<std::string> SplitLines(std::string_view text);

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
std::vector<std::string_view> SplitTabFields(std::string_view line);

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

// Widens w[firstCol + i] to the widest line of field i of a record, for the
// fields that land in grid columns up to 36.
void WidenToRecord(ColumnWidths& w, const TabRecords& record, int firstCol);

// Stores a record of spreadsheet text with field 0 at (firstCol, firstRow)
// and one grid row for each line of its tallest field: each line as tab text
// stores a field (numbers right-aligned to w[column], trailing blanks
// removed), and fields with fewer lines are empty in the rows below. A
// record of several rows marks every row after its first as a continuation
// and its first as none. Nothing is stored outside the grid; with a report,
// what falls outside is counted (rows of a record that is not one empty
// line, and non-empty fields of a record whose first row is stored).
void StoreTabRecord(Document& doc, int firstCol, std::size_t firstRow, const TabRecords& record,
                    const ColumnWidths& w, ReadReport* report);

// True when every byte is one of "+,-.0123456789\" (the backslash shows as the
// yen sign); true for the empty text.
bool IsNumericText(std::string_view text);

// Widens w[firstCol + i] to the byte width of field i of a tab text line,
// for the fields that land in grid columns up to 36; the rest of the line is
// not looked at.
void WidenToFields(ColumnWidths& w, std::string_view line, int firstCol = kFirstDataCol);

// Sets each data column to its text width w[c] (at least two columns), then
// widens it to its widest cell.
void ApplyTextWidths(Document& doc, const ColumnWidths& w);

// True when a first line holds one of the layout-marker prefixes that begin
// a table this program wrote ("+-^-", "{-^-", "/*^-", "'+-^-" or the box
// corner followed by "^-"), found character by character.
bool HasGeneratedTablePrefix(std::string_view line0);

// The prefix of a table kept in source code or a comment: blanks and TABs,
// then, optionally, a comment leader of the usual languages ("//", "#",
// "--", ";", "%", "*" or "REM", repeated or not) and blanks, where the rest
// of the first line begins a ruled table this program wrote, in any of its
// own wraps. Empty when the first line has no such prefix.
std::string_view TablePrefix(std::string_view line0);

// The comment wrappings of tab text without ruled lines. A: Basic, no title
// line; B: Basic with a title line; C: braces, slash-star or none.
enum class WrappedForm { A, B, C };
// What form C makes of a first line without "{" or "/*": an empty title (a
// new window), or the title kept as it stands (a paste into the grid).
enum class UnmarkedTitle { Empty, Keep };

// Reads `lines` (changing them) as wrapped tab text: the title from the
// first line, a row from every other line from row 1, column 2. Checks the
// title box by the title and unchecks the ruled lines.
ReadReport ReadWrappedTabText(Document& doc, std::vector<std::string>& lines, WrappedForm form,
                              UnmarkedTitle unmarked = UnmarkedTitle::Empty);

// The forms the reader tells apart by a text's first two lines: a table
// this program wrote, spreadsheet (tab) text, and wrapped tab text A, B or C
// (see WrappedForm); Nothing where it reads no cell.
enum class TextForm { Nothing, GeneratedTable, TabText, WrappedA, WrappedB, WrappedC };
// The form of lines whose first is `l0` and second `l1` (nullopt for a text
// of one line), their prefix taken off. `quotedFirstField`: the first field
// is a quoted cell that ends before a TAB (QuotedFirstFieldBeforeTab), which
// only the whole text can tell.
TextForm FormOfText(std::string_view l0, std::optional<std::string_view> l1, bool quotedFirstField);

// How the reader sees the lines of a table this program wrote, by its first
// line: which lines are rule lines, which rule line gives the column widths,
// and what text of a line holds its cells.
class GeneratedTableShape {
 public:
  explicit GeneratedTableShape(std::string_view l0);
  bool Box() const { return box_; }
  // A line's column bar and the start of its rule lines.
  std::string_view Bar() const;
  std::string_view RuleStart() const;
  // A rule line that gives the widths: the first such line below the top.
  bool IsWidthRule(std::string_view line) const;
  // Whether a line's first byte is a Basic wrap's quote, dropped unstripped.
  bool QuoteDropped(std::string_view line) const { return box_ ? basic_ : line.starts_with('\''); }
  // The text the cells of a line are read from.
  std::string_view Working(std::string_view line) const;
  bool IsRow(std::string_view working) const { return !working.starts_with(RuleStart()); }

 private:
  bool box_;
  bool basic_;
};

// The reader half of the window's creation: reads `text` (CP932, as the
// clipboard holds it) into the grid. Run SetUpGrid first.
// A table behind a prefix (TablePrefix) reads as the table without it; a
// single line holding a TAB reads as one row of tab text.
ReadReport ReadClipboardText(Document& doc, std::string_view text);
// The same for a text already cut into lines (as SplitLines cuts it): for a
// caller that reads its input a line at a time. A prefix is taken off the
// lines.
ReadReport ReadClipboardLines(Document& doc, std::vector<std::string>& lines);

// Reads `text` (CP932) as cells that a richer clipboard form gave: always as
// spreadsheet text (ReadPlainTabText), even a single column.
ReadReport ReadTabCells(Document& doc, std::string_view text);

// Spreadsheet text: each line a row from row 1, each field a cell from
// column 2, numbers right-aligned; where a field is quoted (HasQuotedField),
// each record from the row below the one before. With `quotes` false every
// double quote is text: for a caller that knows the text holds none.
ReadReport ReadPlainTabText(Document& doc, const std::vector<std::string>& lines,
                            bool quotes = true);

}  // namespace tabulon
