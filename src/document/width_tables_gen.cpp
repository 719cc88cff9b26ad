// Build-time generator of the width table: one entry (document/width_classes.h)
// for each code point, from ICU's Unicode properties and, for every character
// the code page holds, the length of its code in the codec's own encoding
// table and whether Unicode draws it narrower. The programs read the table
// compiled in and load no library for it.
//
//   width_tables_gen OUTPUT.inc
//
// The file appears whole or not at all (document/generated_file.h).
//
// The arrays, in the width code's anonymous namespace:
//   kWidthShift                 log2 of the size of a block
//   kWidthIndex[cp >> shift]    the block that holds cp
//   kWidthBlocks[block << shift | low bits]
//                               the entry; equal blocks are stored once
#include <unicode/uchar.h>
#include <unicode/uversion.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "document/codec.h"
#include "document/generated_file.h"
#include "document/width_classes.h"

namespace {

using tabulon::width_table::Entry;
using tabulon::width_table::Kind;

constexpr char32_t kLast = 0x10FFFF;

bool Has(char32_t cp, UProperty property) {
  return u_hasBinaryProperty(static_cast<UChar32>(cp), property) != 0;
}

// Drawn as nothing, joined to the character before: marks that take no
// room, format characters other than the visible ones (the soft hyphen,
// which plain text shows, and the signs that stand before a number), what
// Unicode says to ignore when it is not drawn (variation selectors, tags,
// U+2060-206F ...) except the Hangul fillers, which stand for a letter's
// place, and the vowels and finals of conjoining Hangul, which join the
// initial before them.
bool IsZeroWidth(char32_t cp) {
  const auto type = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(cp)));
  if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK) return true;
  if (type == U_FORMAT_CHAR) return cp != 0x00AD && !Has(cp, UCHAR_PREPENDED_CONCATENATION_MARK);
  if (cp == 0x115F || cp == 0x3164 || cp == 0xFFA0) return false;
  if (Has(cp, UCHAR_DEFAULT_IGNORABLE_CODE_POINT)) return true;
  return (cp >= 0x1160 && cp <= 0x11FF) || (cp >= 0xD7B0 && cp <= 0xD7FF);
}

// What Unicode alone says of cp.
std::uint8_t UnicodeEntry(char32_t cp) {
  const int eaw = u_getIntPropertyValue(static_cast<UChar32>(cp), UCHAR_EAST_ASIAN_WIDTH);
  const int columns = eaw == U_EA_WIDE || eaw == U_EA_FULLWIDTH ? 2 : 1;
  const bool pictographic = Has(cp, UCHAR_EXTENDED_PICTOGRAPHIC);
  Kind kind = Kind::Plain;
  if (cp == 0x200D) {
    return Entry(0, Kind::Joiner, false);
  } else if (IsZeroWidth(cp)) {
    return Entry(0, Kind::Extend, false);
  } else if (u_charType(static_cast<UChar32>(cp)) == U_COMBINING_SPACING_MARK) {
    kind = Kind::Extend;  // joins its letter, and takes its own column
  } else if (Has(cp, UCHAR_REGIONAL_INDICATOR)) {
    kind = Kind::Regional;
  } else if (Has(cp, UCHAR_EMOJI_MODIFIER)) {
    kind = Kind::Modifier;
  } else if (cp == '#' || cp == '*' || (cp >= '0' && cp <= '9')) {
    kind = Kind::KeycapBase;
  } else if (Has(cp, UCHAR_EMOJI) && !Has(cp, UCHAR_EMOJI_PRESENTATION)) {
    kind = Kind::EmojiText;
  }
  return Entry(columns, kind, pictographic);
}

// A character the code page holds takes the length of its code, whatever
// follows it, and never vanishes into the one before. One of two bytes that
// Unicode does not call Wide or Fullwidth is marked: the narrow rule counts
// it one column, as terminals draw it.
std::uint8_t WidthEntry(char32_t cp) {
  const std::uint8_t unicode = UnicodeEntry(cp);
  const int bytes = tabulon::Cp932CodeLength(cp);
  if (bytes == 0) return unicode;
  const Kind kind = tabulon::width_table::KindOf(unicode);
  const bool narrowByUnicode = bytes == 2 && tabulon::width_table::ColumnsOf(unicode) < 2;
  return static_cast<std::uint8_t>(Entry(bytes, kind == Kind::KeycapBase ? kind : Kind::Plain,
                                         (unicode & tabulon::width_table::kPictographic) != 0) |
                                   (narrowByUnicode ? tabulon::width_table::kCodePageWide : 0));
}

struct Table {
  int shift = 0;
  std::vector<std::uint16_t> index;
  std::vector<std::uint8_t> blocks;
  std::size_t Bytes() const {
    return index.size() * (blocks.size() >> shift > 256 ? 2 : 1) + blocks.size();
  }
};

Table Split(const std::vector<std::uint8_t>& entries, int shift) {
  Table t;
  t.shift = shift;
  const std::size_t size = std::size_t{1} << shift;
  std::map<std::vector<std::uint8_t>, std::uint16_t> numbers;
  for (std::size_t at = 0; at < entries.size(); at += size) {
    std::vector<std::uint8_t> block(entries.begin() + static_cast<std::ptrdiff_t>(at),
                                    entries.begin() + static_cast<std::ptrdiff_t>(at + size));
    const auto [it, added] = numbers.try_emplace(block, static_cast<std::uint16_t>(numbers.size()));
    if (added) t.blocks.insert(t.blocks.end(), block.begin(), block.end());
    t.index.push_back(it->second);
  }
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: width_tables_gen OUTPUT.inc\n", stderr);
    return 2;
  }
  UVersionInfo unicode;
  u_getUnicodeVersion(unicode);
  char version[U_MAX_VERSION_STRING_LENGTH];
  u_versionToString(unicode, version);
  // Extended_Pictographic and the emoji properties as the rule reads them.
  if (unicode[0] < 11) {
    std::fprintf(stderr, "width_tables_gen: ICU's Unicode %s is older than 11\n", version);
    return 1;
  }

  std::vector<std::uint8_t> entries(kLast + 1);
  for (char32_t cp = 0; cp <= kLast; ++cp) entries[cp] = WidthEntry(cp);
  // The block size that makes the smallest table.
  // (From 32 up, so that a block's number fits 16 bits.)
  Table table = Split(entries, 5);
  for (int shift = 6; shift <= 10; ++shift) {
    Table t = Split(entries, shift);
    if (t.Bytes() < table.Bytes()) table = std::move(t);
  }
  const bool wide_index = (table.blocks.size() >> table.shift) > 256;

  const std::string path = argv[1];
  std::FILE* out = tabulon::OpenGeneratedFile(path);
  if (out == nullptr) return 1;
  std::fprintf(out,
               "// Generated at build time by width_tables_gen from ICU's Unicode %s data\n"
               "// and the codec's CP932 table. Do not edit; see "
               "src/document/width_tables_gen.cpp.\n",
               version);
  std::fprintf(out, "constexpr int kWidthShift = %d;\n", table.shift);
  std::fprintf(out, "constexpr std::uint%d_t kWidthIndex[%zu] = {", wide_index ? 16 : 8,
               table.index.size());
  for (std::size_t i = 0; i < table.index.size(); ++i) {
    std::fprintf(out, "%s%u,", i % 16 ? " " : "\n    ", table.index[i]);
  }
  std::fprintf(out, "\n};\n");
  std::fprintf(out, "constexpr std::uint8_t kWidthBlocks[%zu] = {", table.blocks.size());
  for (std::size_t i = 0; i < table.blocks.size(); ++i) {
    std::fprintf(out, "%s0x%02X,", i % 16 ? " " : "\n    ", table.blocks[i]);
  }
  std::fprintf(out, "\n};\n");
  return tabulon::CloseGeneratedFile(out, path) ? 0 : 1;
}
