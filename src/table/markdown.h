// Markdown pipe tables, as READMEs, issue trackers and wikis keep them:
// written from the grid, and read back into it. A cell's text is Markdown
// source: "\|" stands for a "|" inside it, and "<br>" for a line break,
// which the grid holds as a continuation row; nothing else is escaped, so
// the user's own markup goes through unchanged.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "table/reader.h"
#include "table/tab_text.h"

namespace tabulon {

// Where a Markdown table begins in a text: the prefix of its lines
// (indentation, "> " or a comment leader with blanks), and the line of its
// header row: 0, or 2 below a title line and an empty line.
struct MarkdownStart {
  std::string prefix;
  std::size_t headerLine = 0;
  bool operator==(const MarkdownStart&) const = default;
};

// The lines FindMarkdownTable looks at.
inline constexpr std::size_t kMarkdownHeadLines = 4;

// Whether the first lines of a text (inside text, at most kMarkdownHeadLines
// are looked at) begin a Markdown table as GitHub's parser reads one: a
// header row, then a delimiter row of as many cells, each "---" with a colon
// at either end or not; optionally a title line and an empty line before
// them. A "|" must stand in one of the two rows (a single column without
// any is lines of text here), and the delimiter row must not be a heading's
// underline or a list item. All of it behind one prefix (see MarkdownStart).
std::optional<MarkdownStart> FindMarkdownTable(std::span<const std::string> lines);

// FindMarkdownTable on the first lines of a whole text.
bool BeginsMarkdownTable(std::string_view text);

// The grid rows a line below the delimiter row makes: 1, and one more for
// each "<br>" of its fullest cell among the first `cells`; 0 where the line
// ends the table instead: it lacks the prefix, is blank behind it, holds no
// cell (a lone "|"), or begins another block as the parser sees it (a quote,
// a list item, a heading, a fence, a rule, an HTML block, code indented
// four columns past the prefix).
int MarkdownRowHeight(std::string_view line, std::string_view prefix,
                      int cells = kLastCol - kFirstDataCol + 1);

// Whether a line is blank once the prefix is off it (the prefix without its
// trailing blanks counts as blank too).
bool BlankBehindPrefix(std::string_view line, std::string_view prefix);

// Stores the table's rows from the header row on, its delimiter row passed
// over, each from (firstCol, firstRow) down: each cell trimmed, "\|" made
// "|"; a cell holding "<br>" takes a grid row for each of its lines, the
// rows after the first marked as continuations (and the first as none),
// the other cells empty there. A row with fewer cells than the header gets
// empty ones; cells past the header's count are kept as further columns.
// Returns the width of each column's widest stored text. With a report,
// counts what is left out: grid rows below row 256, non-empty cells beyond
// column 36, and non-blank lines after the table's end.
ColumnWidths StoreMarkdownTable(Document& doc, const std::vector<std::string>& lines,
                                const MarkdownStart& start, int firstCol, int firstRow,
                                ReadReport* report);

// The title line's text, trimmed; empty without one.
std::string MarkdownTitle(const std::vector<std::string>& lines, const MarkdownStart& start);

// Reads a Markdown table into the grid from row 1, column 2 (the header row
// is row 1), sets the widths to the cells, and sets the options that write
// it back as it came: no heading row or row-heading column, the title from
// its title line (unchecked without one), ruled and trimmed.
ReadReport ReadMarkdownTable(Document& doc, const std::vector<std::string>& lines,
                             const MarkdownStart& start);

// The grid as a Markdown table: the cells the ruled table shows for the
// same options (the heading row as the header row when 列見出し is checked,
// else the first row; the row-heading column when 行見出し is checked), up
// to the last row and column holding text (a heading shown counts where the
// ruled table counts it; empty rows and columns after those are left out);
// the title, when checked and not blank, on a line of its own with an empty
// line after it. A row's continuation rows are joined into its cells with
// "<br>" (their empty last lines dropped); a cell's blanks at either end are
// dropped, since Markdown keeps none; "|" is written "\|". Every cell is
// padded to its column's width in display columns; a column whose filled
// cells below the header are all numbers is right-aligned, with "---:" in
// the delimiter row.
std::vector<std::string> WriteMarkdownTable(const Document& doc);

}  // namespace tabulon
