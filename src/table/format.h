// Pieces of the table text format shared by the writer and the reader: the
// box-drawing characters (CP932, two bytes and two columns each), the box
// rule fill, the layout marker of the top line and how a table this program
// wrote begins.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon::box {
inline constexpr std::string_view Horizontal = "\x84\x9f";   // ─
inline constexpr std::string_view Vertical = "\x84\xa0";     // │
inline constexpr std::string_view TopLeft = "\x84\xa1";      // ┌
inline constexpr std::string_view TopRight = "\x84\xa2";     // ┐
inline constexpr std::string_view BottomRight = "\x84\xa3";  // ┘
inline constexpr std::string_view BottomLeft = "\x84\xa4";   // └
inline constexpr std::string_view LeftT = "\x84\xa5";        // ├
inline constexpr std::string_view TopT = "\x84\xa6";         // ┬
inline constexpr std::string_view RightT = "\x84\xa7";       // ┤
inline constexpr std::string_view BottomT = "\x84\xa8";      // ┴
inline constexpr std::string_view Cross = "\x84\xa9";        // ┼
}  // namespace tabulon::box

namespace tabulon {

// Horizontal box-rule filling n columns wide: n div 2 "─" and a "-" when n is odd.
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
// begins in a line (found character by character); npos when nowhere.
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
