// Pieces of the table text format shared by the writer and the reader: the
// box-drawing characters (CP932, two bytes and two columns each), the box
// rule fill and the layout marker of the top line.
#pragma once

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

// The eight-byte marker "^--tcr-^" of the top line: t is "=" without a
// title, c and r are "=" with column or row headings.
std::string LayoutMarker(bool title, bool columnHeadings, bool rowHeadings);

}  // namespace tabulon
