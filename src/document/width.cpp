#include "document/width.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "document/codec.h"
#include "document/find_tab.h"
#include "document/width_classes.h"

namespace tabulon {
namespace {

using width_table::ColumnsOf;
using width_table::Kind;
using width_table::KindOf;

WidthRule currentRule = WidthRule::Wide;

// The columns of a character that begins a cluster under the rule kNarrow
// says: the code is compiled once for each rule, so the default's loops are
// what they were without the other.
template <bool kNarrow>
constexpr int BaseColumnsOf(std::uint8_t entry) {
  return kNarrow ? width_table::NarrowColumnsOf(entry) : ColumnsOf(entry);
}

// Made at build time by width_tables_gen from ICU and the codec's table.
#include "width_tables.inc"

constexpr char32_t kVariationSelector16 = 0xFE0F;  // draw as an emoji
constexpr char32_t kKeycap = 0x20E3;

std::uint8_t EntryOf(char32_t cp) {
  if (cp > 0x10FFFF) cp = 0xFFFD;
  constexpr char32_t kLow = (char32_t{1} << kWidthShift) - 1;
  return kWidthBlocks[std::size_t{kWidthIndex[cp >> kWidthShift]} << kWidthShift | (cp & kLow)];
}

// The text one character ahead: the character at `at`, its entry, and where
// the one after it begins.
struct Reader {
  Reader(std::string_view t, std::size_t from, std::size_t* badCount = nullptr)
      : text(t), next(from), bad(badCount) {
    Advance();
  }
  bool AtEnd() const { return at >= text.size(); }
  void Advance() {
    at = next;
    if (at >= text.size()) return;
    // ASCII and well-formed three-byte characters (kana, kanji, symbols)
    // here; the rest, bad bytes included, as the codec reads them.
    const auto* u = reinterpret_cast<const unsigned char*>(text.data()) + at;
    if (u[0] < 0x80) {
      cp = u[0];
      ++next;
    } else if ((u[0] & 0xF0) == 0xE0 && at + 2 < text.size() && (u[1] & 0xC0) == 0x80 &&
               (u[2] & 0xC0) == 0x80 && (u[0] != 0xE0 || u[1] >= 0xA0) &&
               (u[0] != 0xED || u[1] < 0xA0)) {
      cp = char32_t{u[0] & 0x0Fu} << 12 | char32_t{u[1] & 0x3Fu} << 6 | (u[2] & 0x3Fu);
      next += 3;
    } else {
      cp = ReadCodePoint(text, next);
      // Only a bad sequence reads as U+FFFD here: U+FFFD itself is three
      // well-formed bytes, read above.
      if (bad != nullptr && cp == 0xFFFD) ++*bad;
    }
    entry = EntryOf(cp);
  }
  bool Is(Kind kind) const { return !AtEnd() && KindOf(entry) == kind; }
  bool Is(char32_t c) const { return !AtEnd() && cp == c; }

  std::string_view text;
  std::size_t at = 0;
  std::size_t next;
  char32_t cp = 0;
  std::uint8_t entry = 0;
  std::size_t* bad;  // where bad sequences are counted, if anywhere
};

// Reads the cluster that begins at the reader's character, leaving the reader
// on the first character after it; its columns. Inlined into TextColumns,
// the loop the writer measures every cell with. What joins the one before
// is never the code page's: only the base's columns depend on the rule.
template <bool kNarrow>
[[gnu::always_inline]] inline int ReadCluster(Reader& r) {
  const Kind base = KindOf(r.entry);
  const bool pictographic = (r.entry & width_table::kPictographic) != 0;
  int columns = BaseColumnsOf<kNarrow>(r.entry);
  r.Advance();
  // A plain character after it begins the next cluster: most text.
  if (r.AtEnd() || KindOf(r.entry) == Kind::Plain) return columns;
  if (base == Kind::Regional && r.Is(Kind::Regional)) {  // a flag
    columns = 2;
    r.Advance();
  }
  // U+FE0F right after an emoji draws it as one, after a keycap's base
  // with U+20E3 too. A character the code page holds is no EmojiText: it
  // keeps its width.
  if (r.Is(kVariationSelector16)) {
    if (base == Kind::EmojiText) columns = 2;
    r.Advance();
    if (base == Kind::KeycapBase && r.Is(kKeycap)) {
      columns = 2;
      r.Advance();
    }
  }
  while (!r.AtEnd()) {
    switch (KindOf(r.entry)) {
      case Kind::Extend:
        columns += ColumnsOf(r.entry);  // a spacing mark takes its column
        break;
      case Kind::Modifier:
        // On an emoji, a skin tone; after anything else, a swatch of its own.
        columns = pictographic ? std::max(columns, 2) : columns + ColumnsOf(r.entry);
        break;
      case Kind::Joiner:
        r.Advance();
        // Pictograph, joiner, pictograph: drawn as one emoji.
        if (!pictographic || r.AtEnd() || (r.entry & width_table::kPictographic) == 0) continue;
        columns = 2;
        break;
      default:
        return columns;
    }
    r.Advance();
  }
  return columns;
}

template <bool kNarrow>
Cluster ClusterFrom(std::string_view utf8, std::size_t at) {
  Reader r(utf8, at);
  const int columns = ReadCluster<kNarrow>(r);
  return {at, r.at, columns};
}

template <bool kNarrow>
std::size_t MeasureText(std::string_view utf8, std::size_t* bad) {
  const auto* u = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  std::size_t columns = 0;
  std::size_t i = 0;
  for (;;) {
    // A column a byte (cells are short: a plain loop beats eight at a time).
    const std::size_t run = i;
    while (i < n && u[i] < 0x80) ++i;
    columns += i - run;
    if (i == n) return columns;
    // Kana, kanji and most symbols: a well-formed three-byte character that
    // joins nothing before it is counted at a look. One that something
    // after it joins is read again below, as the base of that cluster.
    std::size_t last = i > run ? 1 : 0;  // the columns of the character before i
    while (i + 2 < n && (u[i] & 0xF0) == 0xE0 && (u[i + 1] & 0xC0) == 0x80 &&
           (u[i + 2] & 0xC0) == 0x80 && (u[i] != 0xE0 || u[i + 1] >= 0xA0) &&
           (u[i] != 0xED || u[i + 1] < 0xA0)) {
      const std::uint8_t entry = EntryOf(char32_t{u[i] & 0x0Fu} << 12 |
                                         char32_t{u[i + 1] & 0x3Fu} << 6 | (u[i + 2] & 0x3Fu));
      if (KindOf(entry) != Kind::Plain) break;
      last = static_cast<std::size_t>(BaseColumnsOf<kNarrow>(entry));
      columns += last;
      i += 3;
    }
    if (i == n) return columns;
    if (u[i] < 0x80) continue;
    // Clusters until the next begins with ASCII, from the character before,
    // which may be the base of what follows it.
    std::size_t from = i;
    if (i > run) {
      from = i - (u[i - 1] < 0x80 ? 1 : 3);
      columns -= last;
    }
    Reader r(utf8, from, bad);
    do {
      columns += static_cast<std::size_t>(ReadCluster<kNarrow>(r));
    } while (!r.AtEnd() && r.cp >= 0x80);
    i = r.at;
  }
}

}  // namespace

WidthRule CurrentWidthRule() {
  return currentRule;
}

void SetWidthRule(WidthRule rule) {
  currentRule = rule;
}

int CharColumns(char32_t cp) {
  const std::uint8_t entry = EntryOf(cp);
  return currentRule == WidthRule::Narrow ? BaseColumnsOf<true>(entry) : ColumnsOf(entry);
}

Cluster detail::ClusterAtSlow(std::string_view utf8, std::size_t at) {
  return currentRule == WidthRule::Narrow ? ClusterFrom<true>(utf8, at)
                                          : ClusterFrom<false>(utf8, at);
}

std::size_t TextColumns(std::string_view utf8, std::size_t* bad) {
  return currentRule == WidthRule::Narrow ? MeasureText<true>(utf8, bad)
                                          : MeasureText<false>(utf8, bad);
}

std::size_t TextColumns(std::string_view utf8) {
  return TextColumns(utf8, nullptr);
}

namespace {

template <bool kNarrow>
void WidenFields(std::string_view utf8, std::span<std::size_t> widths, std::size_t* bad) {
  // The filter's hot loop on large input: each field in one pass, ASCII and
  // plain three-byte characters (kana, kanji) counted as they are met, TAB
  // ending the field; at anything else the field is measured whole the
  // exact way (TextColumns), from its start.
  const auto* const u = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  std::size_t i = 0;
  for (std::size_t& width : widths) {
    const std::size_t start = i;
    std::size_t columns = 0;
    while (i < n) {
      // Eight ASCII bytes at a time, up to a TAB.
      if (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, u + i, 8);
        if ((word & 0x8080808080808080u) == 0) {
          const std::uint64_t x = word ^ 0x0909090909090909u;  // a TAB is now 0
          const std::uint64_t tabs =
              ~(((x & 0x7F7F7F7F7F7F7F7Fu) + 0x7F7F7F7F7F7F7F7Fu) | x | 0x7F7F7F7F7F7F7F7Fu);
          if (tabs == 0) {
            columns += 8;
            i += 8;
            continue;
          }
          if constexpr (std::endian::native == std::endian::little) {
            const auto before = static_cast<std::size_t>(std::countr_zero(tabs) / 8);
            columns += before;
            i += before;
            break;
          }
        }
      }
      const unsigned char b = u[i];
      if (b < 0x80) {
        if (b == '\t') break;
        ++columns;
        ++i;
        continue;
      }
      if ((b & 0xF0) == 0xE0 && i + 2 < n && (u[i + 1] & 0xC0) == 0x80 &&
          (u[i + 2] & 0xC0) == 0x80 && (b != 0xE0 || u[i + 1] >= 0xA0) &&
          (b != 0xED || u[i + 1] < 0xA0)) {
        const std::uint8_t entry = EntryOf(char32_t{b & 0x0Fu} << 12 |
                                           char32_t{u[i + 1] & 0x3Fu} << 6 | (u[i + 2] & 0x3Fu));
        // A plain character joins nothing before it; one that something
        // after it joins sends the field the exact way there.
        if (KindOf(entry) == Kind::Plain) {
          columns += static_cast<std::size_t>(BaseColumnsOf<kNarrow>(entry));
          i += 3;
          continue;
        }
      }
      const auto* const tab =
          reinterpret_cast<const unsigned char*>(FindTab(utf8.data() + i, utf8.data() + n));
      i = static_cast<std::size_t>(tab - u);
      columns = TextColumns(utf8.substr(start, i - start), bad);
      break;
    }
    width = std::max(width, columns);
    if (i == n) return;
    ++i;  // the TAB
  }
  if (bad != nullptr) *bad += BadUtf8Count(utf8.substr(i));
}

}  // namespace

void WidenToColumnFields(std::string_view utf8, std::span<std::size_t> widths, std::size_t* bad) {
  if (currentRule == WidthRule::Narrow) {
    WidenFields<true>(utf8, widths, bad);
  } else {
    WidenFields<false>(utf8, widths, bad);
  }
}

}  // namespace tabulon
