// Pieces of the table text format shared by the writer and the reader: the
// box-drawing characters (two columns each, as the code page has them; one
// under the narrow width rule), the box rule fill, the layout marker of the
// top line and how a table this program wrote begins.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon::box {
inline constexpr std::string_view Horizontal = "─";
inline constexpr std::string_view Vertical = "│";
inline constexpr std::string_view TopLeft = "┌";
inline constexpr std::string_view TopRight = "┐";
inline constexpr std::string_view BottomRight = "┘";
inline constexpr std::string_view BottomLeft = "└";
inline constexpr std::string_view LeftT = "├";
inline constexpr std::string_view TopT = "┬";
inline constexpr std::string_view RightT = "┤";
inline constexpr std::string_view BottomT = "┴";
inline constexpr std::string_view Cross = "┼";
}  // namespace tabulon::box

namespace tabulon {

// Horizontal box-rule filling n columns wide: n div 2 "─" and a "-" when n is
// odd; under the narrow width rule, n "─".
std::string MakeBoxRule(int n);

// What the layout marker of a table's top line tells.
struct TableLayout {
  bool title = false;
  bool columnHeadings = false;
  bool rowHeadings = false;
  bool operator==(const TableLayout&) const = default;
};

// The eight-byte marker "^--tcr-^" of the top line: t is "=" without a
// title, c and r are "=" with column or row headings.
std::string LayoutMarker(const TableLayout& layout);

// The layout the markers of a top line give, found character by character.
// A line touched by hand may hold several: each option is on when any of
// them turns it on. All off where the line holds none.
TableLayout LayoutOfTopLine(std::string_view line);

// The 0-based column where the first "^-", the start of a layout marker,
// begins in a line (found character by character, counted by the default
// width rule whatever the current one); npos when nowhere.
std::size_t LayoutMarkerAt(std::string_view line);

// Whether a text begins with the start of a ruled table's top line in one
// of this program's wraps: "+-^-", "{-^-", "/*^-", "'+-^-", or the box
// corner followed by "^-", alone or after "{", "/*" or "'".
bool BeginsTableTop(std::string_view text);

// Whether a first line is the top line of a table this program wrote: it
// holds such a start anywhere (found character by character), so a table
// behind a prefix is one too.
bool IsGeneratedTableTop(std::string_view line0);

}  // namespace tabulon
