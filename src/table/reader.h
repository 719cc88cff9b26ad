// The table reader: fills the grid document from clipboard text. It reads
// what it recognises and leaves the rest; it never fails.
#pragma once

#include <array>
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

// The comment wrappings of tab text without ruled lines. A: Basic, no title
// line; B: Basic with a title line; C: braces, slash-star or none.
enum class WrappedForm { A, B, C };
// What form C makes of a first line without "{" or "/*": an empty title (a
// new window), or the title kept as it stands (a paste into the grid).
enum class UnmarkedTitle { Empty, Keep };

// Reads doc.TableLines (changing them) as wrapped tab text: the title from
// the first line, a row from every other line from row 1, column 2. Checks
// the title box by the title and unchecks the ruled lines.
ReadReport ReadWrappedTabText(Document& doc, WrappedForm form,
                              UnmarkedTitle unmarked = UnmarkedTitle::Empty);

// The reader half of the window's creation: reads `text` (CP932, as the
// clipboard holds it) into doc.TableLines and the grid. Run SetUpGrid first.
ReadReport ReadClipboardText(Document& doc, std::string_view text);

// Spreadsheet text: each line a row from row 1, each field a cell from
// column 2, numbers right-aligned. Reads doc.TableLines.
ReadReport ReadPlainTabText(Document& doc);

}  // namespace tabulon
