// EncodeCp932, apart from codec.cpp because it reads display clusters by the
// width table, which is generated with the help of codec.cpp.
#include <algorithm>
#include <cstring>

#include "document/codec.h"
#include "document/width.h"

namespace tabulon {
namespace {

// Characters that only choose how the character before them is drawn or
// joined: variation selectors (U+FE0F on ○, an ideographic variant of 葛)
// and the joiners. The code page has none of them, and writing the character
// without them keeps it; marks and other characters are not among them, as
// dropping an accent or a skin tone would change what is written.
bool OnlyStyles(char32_t cp) {
  return (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xE0100 && cp <= 0xE01EF) ||
         (cp >= 0x180B && cp <= 0x180D) || cp == 0x180F || cp == 0x200C || cp == 0x200D;
}

// Writes at `out` the CP932 bytes of the cluster `text` of `columns` columns
// as the code page counts them, and `shown` under the current rule, as
// EncodeCp932 says; the cluster's bytes are never fewer than its columns.
void EncodeCluster(std::string_view text, int columns, int shown, char*& out,
                   Replacements& replaced) {
  char codes[4];  // the cluster's codes, while they fit its columns
  const int room = std::min(columns, 4);
  int bytes = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = ReadCodePoint(text, i);
    if (OnlyStyles(cp)) continue;
    const int code = Cp932Code(cp);
    const int length = code >= 0x100 ? 2 : 1;
    if (code < 0 || bytes + length > room) {
      bytes = -1;
      break;
    }
    if (length == 2) codes[bytes++] = static_cast<char>(code >> 8);
    codes[bytes++] = static_cast<char>(code & 0xFF);
  }
  if (bytes == columns) {
    std::memcpy(out, codes, static_cast<std::size_t>(bytes));
    out += bytes;
    return;
  }
  std::memset(out, '?', static_cast<std::size_t>(shown));
  out += shown;
  ++replaced.count;
  std::string storage;
  Replacements ignored;  // the bad sequences are told as the cluster
  replaced.Name(SanitizeUtf8(text, storage, ignored));
}

}  // namespace

std::string EncodeCp932(std::string_view utf8, Replacements& replaced) {
  // As many bytes as columns, and a cluster never has fewer bytes than
  // columns: the text's own length is room enough.
  std::string out(utf8.size(), '\0');
  char* p = out.data();
  const bool narrow = CurrentWidthRule() == WidthRule::Narrow;
  for (std::size_t i = detail::EncodeCp932Plain(utf8, 0, p); i < utf8.size();
       i = detail::EncodeCp932Plain(utf8, i, p)) {
    const Cluster c = ClusterAt(utf8, i);
    if (static_cast<std::size_t>(c.columns) > c.end - c.begin) {  // never, but never overrun
      const std::size_t at = static_cast<std::size_t>(p - out.data());
      out.resize(out.size() + static_cast<std::size_t>(c.columns));
      p = out.data() + at;
    }
    int columns = c.columns;
    if (narrow) {
      // The codes fit the code page's count, which the narrow rule lowers.
      const WidthRuleScope byCodePage(WidthRule::Wide);
      columns = ClusterAt(utf8, i).columns;
    }
    EncodeCluster(utf8.substr(c.begin, c.end - c.begin), columns, c.columns, p, replaced);
    i = c.end;
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
  return out;
}

}  // namespace tabulon
