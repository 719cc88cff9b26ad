#include "document/codec.h"

#include "document/cp932.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tabulon {
namespace {

// The character tables are generated at build time from glibc's "CP932"
// converter, which has the Windows mapping, by asking it about one character
// at a time (cp932_tables_gen): an unmappable character costs exactly one "?",
// and nothing is loaded or set up when the program runs.

constexpr char32_t kReplacementChar = 0xFFFD;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr std::uint16_t kEncUnmappable = 0xFFFF;  // no CP932 code (never a real one)

#include "cp932_tables.inc"

// CP932 code for a BMP code point above 0x7F: a value below 0x100 is a single
// byte, kEncUnmappable means none.
std::uint16_t Encode(char32_t cp) {
  return kEncodeBlocks[kEncodePage[cp >> 8]][cp & 0xFF];
}

// Code point of a single byte 0x80-0xFF that is not a lead byte; U+FFFD when
// CP932 does not define it.
char32_t DecodeByte(unsigned char b) {
  return kDecodeByte[b - 0x80];
}

// Code point of a lead byte and a trail byte; U+FFFD for an unassigned pair.
char32_t DecodePair(unsigned char lead, unsigned char trail) {
  const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x9F - 0x81 + 1;
  return kDecodePair[row * 192 + (trail - 0x40)];
}

// Writes cp in UTF-8 at p (room for four bytes) and returns the end.
char* PutUtf8(char* p, char32_t cp) {
  if (cp < 0x80) {
    *p++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *p++ = static_cast<char>(0xC0 | (cp >> 6));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *p++ = static_cast<char>(0xE0 | (cp >> 12));
    *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *p++ = static_cast<char>(0xF0 | (cp >> 18));
    *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return p;
}

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

constexpr char32_t kBadUtf8 = 0xFFFFFFFF;

// Reads one non-ASCII UTF-8 character at s[i]. Advances i past it and returns
// the code point, or returns kBadUtf8 (advancing past the whole bad sequence)
// when the bytes are not valid UTF-8. A lead byte claims the continuation
// bytes that follow it, so a truncated, overlong or surrogate form costs one
// replacement; a stray continuation byte or an impossible byte costs one each.
char32_t ReadUtf8(std::string_view s, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  int len;
  char32_t cp;
  char32_t min;
  if (lead >= 0xC0 && lead <= 0xDF) {
    len = 2, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF7) {
    len = 4, cp = lead & 0x07, min = 0x10000;
  } else {
    ++i;  // stray continuation byte or 0xF8-0xFF
    return kBadUtf8;
  }
  ++i;
  for (int k = 1; k < len; ++k) {
    if (i >= s.size() || !IsContinuation(static_cast<unsigned char>(s[i]))) {
      return kBadUtf8;  // truncated: the bytes read so far are one bad sequence
    }
    cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    ++i;
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kBadUtf8;
  return cp;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// The number of ASCII bytes that begin the eight bytes of `word` (as they lie
// in memory), given its high bits.
int LeadingAsciiBytes(std::uint64_t highBits) {
  if constexpr (std::endian::native == std::endian::little) {
    return std::countr_zero(highBits) / 8;
  } else {
    return std::countl_zero(highBits) / 8;
  }
}

// Advances i past the run of ASCII bytes starting at s[i] (which are the same
// in UTF-8 and CP932), to the first non-ASCII byte.
void SkipAscii(std::string_view s, std::size_t& i) {
  for (std::uint64_t word; i + 8 <= s.size(); i += 8) {  // eight bytes at a time
    std::memcpy(&word, s.data() + i, 8);
    if (const std::uint64_t high = word & kHighBits) {
      i += static_cast<std::size_t>(LeadingAsciiBytes(high));
      return;
    }
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
}

// The CP932 code of a non-ASCII UTF-8 character or bad sequence at s[i]
// that is not a well-formed three-byte character, advancing i past it.
[[gnu::noinline]] std::uint16_t EncodeOther(std::string_view s, std::size_t& i) {
  const char32_t cp = ReadUtf8(s, i);
  // Nothing beyond the BMP is in CP932; kBadUtf8 is beyond it too.
  return cp < 0x10000 ? Encode(cp) : kEncUnmappable;
}

// The CP932 code of the non-ASCII UTF-8 character at s[i] (kEncUnmappable for
// one CP932 lacks and for a bad sequence), advancing i past it.
inline std::uint16_t EncodeNext(std::string_view s, std::size_t& i) {
  // Japanese text is mostly three-byte characters: those go straight to the
  // table, the rest (and any bad or odd form) through the full reader.
  const auto* u = reinterpret_cast<const unsigned char*>(s.data()) + i;
  if (u[0] >= 0xE0 && u[0] <= 0xEF && i + 2 < s.size() && IsContinuation(u[1]) &&
      IsContinuation(u[2])) {
    const char32_t cp =
        (char32_t{u[0] & 0x0Fu} << 12) | (char32_t{u[1] & 0x3Fu} << 6) | (u[2] & 0x3Fu);
    if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
      i += 3;
      return Encode(cp);
    }
  }
  return EncodeOther(s, i);
}

// The one walk over UTF-8 that the conversion and the measures take, so that
// they agree to the byte: `ascii(from, to)` for each run of ASCII bytes,
// `code(c)` for each other character (a CP932 code, or kEncUnmappable).
template <typename Ascii, typename Code>
void WalkUtf8(std::string_view utf8, Ascii&& ascii, Code&& code) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t start = i;
    SkipAscii(utf8, i);
    if (i > start) ascii(start, i);
    // Non-ASCII characters come in runs in Japanese text.
    while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) >= 0x80) {
      code(EncodeNext(utf8, i));
    }
  }
}

// Length in CP932 of a code from EncodeNext.
constexpr std::size_t CodeLength(std::uint16_t code) {
  return code != kEncUnmappable && code >= 0x100 ? 2 : 1;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8, std::size_t* replaced) {
  // CP932 is never longer than the UTF-8 it came from.
  std::string out(utf8.size(), '\0');
  char* p = out.data();
  std::size_t substitutions = 0;
  WalkUtf8(
      utf8,
      [&](std::size_t from, std::size_t to) {
        std::memcpy(p, utf8.data() + from, to - from);
        p += to - from;
      },
      [&](std::uint16_t code) {
        if (code == kEncUnmappable) {
          *p++ = '?';
          ++substitutions;
        } else if (code < 0x100) {
          *p++ = static_cast<char>(code);
        } else {
          *p++ = static_cast<char>(code >> 8);
          *p++ = static_cast<char>(code & 0xFF);
        }
      });
  out.resize(static_cast<std::size_t>(p - out.data()));
  if (replaced != nullptr) *replaced += substitutions;
  return out;
}

std::string Utf8ToCp932(std::string_view utf8, Replacements& replaced) {
  const std::size_t before = replaced.count;
  std::string cp932 = Utf8ToCp932(utf8, &replaced.count);
  // Only a text that lacked something is walked again, for the names.
  std::vector<std::string>& missing = replaced.chars;
  for (std::size_t i = 0;
       replaced.count > before && i < utf8.size() && missing.size() < Replacements::kNamed;) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      SkipAscii(utf8, i);
      continue;
    }
    const std::size_t start = i;
    if (EncodeNext(utf8, i) != kEncUnmappable) continue;
    const std::string_view ch = utf8.substr(start, i - start);
    replaced.Name(IsValidUtf8(ch) ? ch : kReplacementUtf8);
  }
  return cp932;
}

void Replacements::Name(std::string_view ch) {
  if (chars.size() < kNamed && std::find(chars.begin(), chars.end(), ch) == chars.end()) {
    chars.emplace_back(ch);
  }
}

int Cp932Code(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  const std::uint16_t code = cp < 0x10000 ? Encode(cp) : kEncUnmappable;
  return code == kEncUnmappable ? -1 : code;
}

std::size_t detail::EncodeCp932Plain(std::string_view utf8, std::size_t from, char*& out) {
  // The walk of Utf8ToCp932, stopping at a character the code page lacks:
  // that one may join the character before it (an accent, a variation
  // selector), so the caller reads the cluster from there.
  const std::size_t n = utf8.size();
  std::size_t i = from;
  std::size_t last = from;  // where the character just written begins
  char* lastOut = out;      // and where its code begins
  while (i < n) {
    const std::size_t run = i;
    SkipAscii(utf8, i);
    if (i > run) {
      std::memcpy(out, utf8.data() + run, i - run);
      out += i - run;
      last = i - 1;
      lastOut = out - 1;
    }
    while (i < n && static_cast<unsigned char>(utf8[i]) >= 0x80) {
      const std::size_t start = i;
      const std::uint16_t code = EncodeNext(utf8, i);
      if (code == kEncUnmappable) {
        out = lastOut;
        return last;
      }
      last = start;
      lastOut = out;
      if (code >= 0x100) *out++ = static_cast<char>(code >> 8);
      *out++ = static_cast<char>(code & 0xFF);
    }
  }
  return n;
}

int Cp932CodeLength(char32_t cp) {
  if (cp < 0x80) return 1;
  if (cp >= 0x10000) return 0;  // nothing beyond the BMP is in CP932
  const std::uint16_t code = Encode(cp);
  return code == kEncUnmappable ? 0 : static_cast<int>(CodeLength(code));
}

char32_t ReadCodePoint(std::string_view text, std::size_t& i) {
  const auto b = static_cast<unsigned char>(text[i]);
  if (b < 0x80) {
    ++i;
    return b;
  }
  const char32_t cp = ReadUtf8(text, i);
  return cp == kBadUtf8 ? kReplacementChar : cp;
}

std::string Utf8Of(char32_t cp) {
  char buf[4];
  return std::string(buf, PutUtf8(buf, cp));
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      SkipAscii(text, i);
      continue;
    }
    // The allowed range of the second byte narrows the first byte's range
    // so that overlong forms, surrogates and codes past U+10FFFF fail.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

namespace {

// Walks UTF-8 that IsValidUtf8 refused: `good(from, to)` for each run of
// well-formed characters, `bad()` for each bad sequence, bounded as
// Utf8ToCp932 bounds it.
template <typename Good, typename Bad>
void WalkBadUtf8(std::string_view utf8, Good&& good, Bad&& bad) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      SkipAscii(utf8, i);
      continue;
    }
    const std::size_t start = i;
    if (ReadUtf8(utf8, i) != kBadUtf8) continue;
    if (start > run) good(run, start);
    bad();
    run = i;
  }
  if (utf8.size() > run) good(run, utf8.size());
}

}  // namespace

std::string_view SanitizeUtf8(std::string_view utf8, std::string& storage,
                              Replacements& replaced) {
  if (IsValidUtf8(utf8)) return utf8;
  storage.clear();
  WalkBadUtf8(
      utf8, [&](std::size_t from, std::size_t to) { storage.append(utf8, from, to - from); },
      [&] {
        storage += kReplacementUtf8;
        ++replaced.count;
      });
  replaced.Name(kReplacementUtf8);
  return storage;
}

std::string SanitizeUtf8(std::string_view utf8, Replacements& replaced) {
  std::string storage;
  if (SanitizeUtf8(utf8, storage, replaced).data() == utf8.data()) return std::string(utf8);
  return storage;
}

std::size_t NonAsciiBytes(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) > 0x7F; }));
}

std::size_t BadUtf8Count(std::string_view utf8) {
  if (IsValidUtf8(utf8)) return 0;
  std::size_t count = 0;
  WalkBadUtf8(utf8, [](std::size_t, std::size_t) {}, [&] { ++count; });
  return count;
}

std::size_t Cp932Length(std::string_view utf8, std::size_t* replaced) {
  std::size_t length = 0;
  std::size_t substitutions = 0;
  WalkUtf8(
      utf8, [&](std::size_t from, std::size_t to) { length += to - from; },
      [&](std::uint16_t code) {
        length += CodeLength(code);
        substitutions += code == kEncUnmappable;
      });
  if (replaced != nullptr) *replaced += substitutions;
  return length;
}

std::size_t AsciiPrefixLength(std::string_view text) {
  std::size_t i = 0;
  SkipAscii(text, i);
  return i;
}

std::string_view WithoutUtf8Bom(std::string_view utf8) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  return utf8.substr(0, kBom.size()) == kBom ? utf8.substr(kBom.size()) : utf8;
}

namespace {

// AppendCp932ToUtf8, giving the number of U+FFFD it wrote.
std::size_t AppendCp932(std::string& out, std::string_view cp932) {
  // In pieces, so that the room reserved for the longest outcome (three
  // UTF-8 bytes a byte) stays small whatever the length of the text.
  constexpr std::size_t kPiece = 4096;
  const auto* s = reinterpret_cast<const unsigned char*>(cp932.data());
  const std::size_t n = cp932.size();
  std::size_t used = out.size();
  std::size_t undefined = 0;
  for (std::size_t i = 0; i < n;) {
    const std::size_t stop = std::min(n, i + kPiece);
    out.resize(used + 3 * (stop - i) + 3);  // a pair may end one byte past stop
    char* const begin = out.data();
    char* p = begin + used;
    while (i < stop) {
      const unsigned char b = s[i];
      if (b < 0x80) {
        // Eight at a time: all eight are copied, as many as are ASCII count.
        if (i + 8 <= stop) {
          std::uint64_t word;
          std::memcpy(&word, s + i, 8);
          std::memcpy(p, &word, 8);
          const std::uint64_t high = word & kHighBits;
          const int ascii = high ? LeadingAsciiBytes(high) : 8;
          p += ascii;
          i += static_cast<std::size_t>(ascii);
        } else {
          *p++ = static_cast<char>(b);
          ++i;
        }
        continue;
      }
      if (!IsLeadByte(b)) {
        const char32_t cp = DecodeByte(b);
        undefined += cp == kReplacementChar;
        p = PutUtf8(p, cp);
        ++i;
        continue;
      }
      const unsigned char t = i + 1 < n ? s[i + 1] : 0;
      if (!IsTrailByte(t)) {
        p = PutUtf8(p, kReplacementChar);  // lone lead byte; the next byte is decoded on its own
        ++undefined;
        ++i;
        continue;
      }
      const char32_t cp = DecodePair(b, t);
      undefined += cp == kReplacementChar;
      p = PutUtf8(p, cp);
      // An undefined pair is one U+FFFD, but an ASCII trail byte is kept as text.
      i += (cp == kReplacementChar && t < 0x80) ? 1 : 2;
    }
    used = static_cast<std::size_t>(p - begin);
  }
  out.resize(used);
  return undefined;
}

}  // namespace

void AppendCp932ToUtf8(std::string& out, std::string_view cp932) {
  AppendCp932(out, cp932);
}

std::string DecodeCp932(std::string_view cp932, Replacements& replaced) {
  std::string out;
  if (const std::size_t undefined = AppendCp932(out, cp932)) {
    replaced.count += undefined;
    replaced.Name(kReplacementUtf8);
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  AppendCp932ToUtf8(out, cp932);
  return out;
}

}  // namespace tabulon
