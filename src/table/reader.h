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

// Sets each data column to its text width w[c] (at least two columns), then
// widens it to its widest cell.
void ApplyTextWidths(Document& doc, const ColumnWidths& w);

// The reader half of the window's creation: reads `text` (CP932, as the
// clipboard holds it) into doc.TableLines and the grid. Run SetUpGrid first.
ReadReport ReadClipboardText(Document& doc, std::string_view text);

// Spreadsheet text: each line a row from row 1, each field a cell from
// column 2, numbers right-aligned. Reads doc.TableLines.
ReadReport ReadPlainTabText(Document& doc);

}  // namespace tabulon
