// The layout of the width table's entries, one byte for each code point,
// shared by the generator that writes the table and the code that reads it.
#pragma once

#include <cstdint>

namespace tabulon::width_table {

// Bits 0-1: the columns of the character standing alone (0, 1 or 2); for a
// character that joins the one before, what it adds to that cluster.
inline constexpr std::uint8_t kColumnsMask = 0x03;

// Bits 2-4: how the character takes part in a cluster.
inline constexpr int kKindShift = 2;
enum class Kind : std::uint8_t {
  Plain = 0,       // begins a cluster
  Extend = 1,      // joins the cluster before: marks, selectors, zero width
  Joiner = 2,      // U+200D: joins the cluster before, and may join the next
  Regional = 3,    // a regional indicator: two make a flag
  EmojiText = 4,   // an emoji drawn as text unless U+FE0F follows
  KeycapBase = 5,  // 0-9 # *: with U+FE0F U+20E3, a keycap
  Modifier = 6,    // a skin tone: joins the cluster before
};
inline constexpr std::uint8_t kKindMask = 0x1C;

// Bit 5: Extended_Pictographic, what a joiner sequence joins.
inline constexpr std::uint8_t kPictographic = 0x20;

// Bit 6: two columns by the code page's two bytes only, where Unicode draws
// the character narrow (East Asian Ambiguous: ○ ① α ─ ※; and the
// look-alikes ¢ £ ¬ −): one column under the narrow rule. Set on no other
// entry, so that the narrow rule's columns are the entry's less this bit.
inline constexpr std::uint8_t kCodePageWide = 0x40;
inline constexpr int kCodePageWideShift = 6;

constexpr std::uint8_t Entry(int columns, Kind kind, bool pictographic) {
  return static_cast<std::uint8_t>(columns | static_cast<int>(kind) << kKindShift |
                                   (pictographic ? kPictographic : 0));
}
constexpr int ColumnsOf(std::uint8_t entry) {
  return entry & kColumnsMask;
}
// The columns under the narrow rule (document/width.h: WidthRule).
constexpr int NarrowColumnsOf(std::uint8_t entry) {
  return (entry & kColumnsMask) - (entry >> kCodePageWideShift & 1);
}
constexpr Kind KindOf(std::uint8_t entry) {
  return static_cast<Kind>((entry & kKindMask) >> kKindShift);
}

}  // namespace tabulon::width_table
