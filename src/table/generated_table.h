// Tables this program wrote, read back: the shape of their lines by the top
// line, the options from the layout marker, the widths from the first rule
// line, the title, the rows, and lines touched by hand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "table/reader.h"

namespace tabulon {

// How the reader sees the lines of a table this program wrote, by its first
// line: which lines are rule lines, which rule line gives the column widths,
// and what text of a line holds its cells.
class GeneratedTableShape {
 public:
  explicit GeneratedTableShape(std::string_view l0);
  bool Box() const { return box_; }
  // Whether the table is in the Basic wrap, each line after a quote.
  bool Basic() const { return basic_; }
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

// Reads `lines` (at least two, the first a table's top line, its prefix
// taken off) as a table this program wrote, in any comment wrapping: the
// options from the layout marker and the top line, the widths from the
// first rule line, the cells and continuation marks from the data lines.
ReadReport ReadGeneratedTable(Document& doc, const std::vector<std::string>& lines);

}  // namespace tabulon
