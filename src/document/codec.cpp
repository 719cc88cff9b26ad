#include "document/codec.h"

#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

namespace tabulon {
namespace {

// The character tables come from glibc's "CP932" converter, which has the
// Windows mapping. iconv is asked about one character at a time, so an
// unmappable character costs exactly one "?", and each answer is cached:
// iconv runs at most once per distinct character over the life of the process.

constexpr char32_t kReplacementChar = 0xFFFD;

// Encoding cache entries, indexed by BMP code point.
constexpr std::uint16_t kEncUnknown = 0;          // iconv not asked yet
constexpr std::uint16_t kEncUnmappable = 0xFFFF;  // no CP932 code (never a real one)
// Decoding cache entries, indexed by the 1-byte (0x80-0xFF) or 2-byte
// (lead << 8 | trail) code. 0 means not asked yet; undefined codes hold U+FFFD.
constexpr std::uint16_t kDecUnknown = 0;

constexpr bool IsLead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsTrail(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Runs one iconv conversion of a whole (small) input. Returns the number of
// output bytes, or -1 when the input is not exactly one convertible unit.
int ConvertOne(iconv_t cd, const char* in, std::size_t in_len, char* out, std::size_t out_cap) {
  if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
  char* in_ptr = const_cast<char*>(in);
  char* out_ptr = out;
  std::size_t out_left = out_cap;
  std::size_t in_left = in_len;
  std::size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  if (rc == static_cast<std::size_t>(-1) || in_left != 0) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // reset after an error
    return -1;
  }
  return static_cast<int>(out_cap - out_left);
}

// Decodes one well-formed UTF-8 character of `len` bytes (as iconv writes it).
char32_t DecodeUtf8Char(const unsigned char* s, int len) {
  switch (len) {
    case 1:
      return s[0];
    case 2:
      return (char32_t{s[0] & 0x1Fu} << 6) | (s[1] & 0x3Fu);
    case 3:
      return (char32_t{s[0] & 0x0Fu} << 12) | (char32_t{s[1] & 0x3Fu} << 6) | (s[2] & 0x3Fu);
    default:
      return kReplacementChar;
  }
}

// The iconv descriptors and lookup tables, shared by every call. The program
// is single-threaded; the mutex only keeps a stray worker thread from
// corrupting the caches, and is taken once per call, not per character.
class Tables {
 public:
  static Tables& Get() {
    static Tables tables;
    return tables;
  }

  std::mutex& mutex() { return mutex_; }

  // CP932 code for a BMP code point above 0x7F: a value below 0x100 is a
  // single byte, kEncUnmappable means none.
  std::uint16_t Encode(char32_t cp) {
    std::uint16_t& slot = enc_[cp];
    if (slot == kEncUnknown) slot = AskEncode(cp);
    return slot;
  }

  // Code point for a 1-byte code in 0x80-0xFF or a 2-byte code
  // (lead << 8 | trail); U+FFFD when CP932 does not define it.
  char32_t Decode(std::uint16_t code) {
    std::uint16_t& slot = dec_[code];
    if (slot == kDecUnknown) slot = AskDecode(code);
    return slot;
  }

  Tables(const Tables&) = delete;
  Tables& operator=(const Tables&) = delete;

 private:
  // If glibc lacks the CP932 module the descriptors stay invalid and every
  // non-ASCII character is treated as unmappable rather than crashing.
  Tables()
      : to_cp932_(iconv_open("CP932", "UTF-8")),
        to_utf8_(iconv_open("UTF-8", "CP932")),
        enc_(std::make_unique<std::uint16_t[]>(0x10000)),
        dec_(std::make_unique<std::uint16_t[]>(0x10000)) {}

  ~Tables() {
    if (to_cp932_ != reinterpret_cast<iconv_t>(-1)) iconv_close(to_cp932_);
    if (to_utf8_ != reinterpret_cast<iconv_t>(-1)) iconv_close(to_utf8_);
  }

  std::uint16_t AskEncode(char32_t cp) {
    std::string in;
    AppendUtf8(in, cp);
    unsigned char out[4];
    int n = ConvertOne(to_cp932_, in.data(), in.size(), reinterpret_cast<char*>(out), sizeof out);
    if (n == 1) return out[0];
    if (n == 2 && IsLead(out[0])) return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    return kEncUnmappable;
  }

  std::uint16_t AskDecode(std::uint16_t code) {
    char in[2];
    std::size_t in_len = 0;
    if (code > 0xFF) in[in_len++] = static_cast<char>(code >> 8);
    in[in_len++] = static_cast<char>(code & 0xFF);
    unsigned char out[8];
    int n = ConvertOne(to_utf8_, in, in_len, reinterpret_cast<char*>(out), sizeof out);
    // CP932 only reaches the BMP, so one character is at most 3 UTF-8 bytes.
    if (n < 2 || n > 3) return kReplacementChar;
    char32_t cp = DecodeUtf8Char(out, n);
    return cp == kDecUnknown ? kReplacementChar : static_cast<std::uint16_t>(cp);
  }

  std::mutex mutex_;
  iconv_t to_cp932_;
  iconv_t to_utf8_;
  std::unique_ptr<std::uint16_t[]> enc_;
  std::unique_ptr<std::uint16_t[]> dec_;
};

// Locks the shared tables on first need, so all-ASCII texts never touch them.
class LazyTables {
 public:
  Tables& operator*() {
    if (tables_ == nullptr) {
      tables_ = &Tables::Get();
      lock_ = std::unique_lock<std::mutex>(tables_->mutex());
    }
    return *tables_;
  }
  Tables* operator->() { return &**this; }

 private:
  Tables* tables_ = nullptr;
  std::unique_lock<std::mutex> lock_;
};

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

// Advances i past the run of ASCII bytes starting at s[i] (which are the same
// in UTF-8 and CP932), to the first non-ASCII byte.
void SkipAscii(std::string_view s, std::size_t& i) {
  for (std::uint64_t word; i + 8 <= s.size(); i += 8) {  // eight bytes at a time
    std::memcpy(&word, s.data() + i, 8);
    if (word & 0x8080808080808080u) break;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
}

// Appends the run of ASCII bytes starting at s[i] and advances i past it.
void CopyAscii(std::string_view s, std::size_t& i, std::string& out) {
  const std::size_t start = i;
  SkipAscii(s, i);
  out.append(s.data() + start, i - start);
}

// The one walk over UTF-8 that both the conversion and the measure take, so
// that they agree to the byte: `ascii(run)` for each run of ASCII bytes,
// `code(c)` for each other character (a CP932 code, or kEncUnmappable).
template <typename Ascii, typename Code>
void WalkUtf8(std::string_view utf8, Ascii&& ascii, Code&& code) {
  LazyTables tables;
  std::size_t i = 0;
  while (true) {
    const std::size_t start = i;
    SkipAscii(utf8, i);
    if (i > start) ascii(utf8.substr(start, i - start));
    if (i >= utf8.size()) break;
    const char32_t cp = ReadUtf8(utf8, i);
    // Nothing beyond the BMP is in CP932.
    code(cp < 0x10000 ? tables->Encode(cp) : kEncUnmappable);
  }
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8, std::size_t* replaced) {
  std::string out;
  out.reserve(utf8.size());  // CP932 is never longer than the UTF-8 it came from
  std::size_t substitutions = 0;
  WalkUtf8(
      utf8, [&](std::string_view run) { out.append(run); },
      [&](std::uint16_t code) {
        if (code == kEncUnmappable) {
          out.push_back('?');
          ++substitutions;
        } else if (code < 0x100) {
          out.push_back(static_cast<char>(code));
        } else {
          out.push_back(static_cast<char>(code >> 8));
          out.push_back(static_cast<char>(code & 0xFF));
        }
      });
  if (replaced != nullptr) *replaced += substitutions;
  return out;
}

std::size_t Cp932Length(std::string_view utf8, std::size_t* replaced) {
  std::size_t length = 0;
  std::size_t substitutions = 0;
  WalkUtf8(
      utf8, [&](std::string_view run) { length += run.size(); },
      [&](std::uint16_t code) {
        length += code != kEncUnmappable && code >= 0x100 ? 2 : 1;
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

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() + cp932.size() / 2);
  LazyTables tables;
  std::size_t i = 0;
  while (true) {
    CopyAscii(cp932, i, out);
    if (i >= cp932.size()) break;
    const auto b = static_cast<unsigned char>(cp932[i]);
    if (!IsLead(b)) {
      AppendUtf8(out, tables->Decode(b));
      ++i;
      continue;
    }
    const auto t = i + 1 < cp932.size() ? static_cast<unsigned char>(cp932[i + 1]) : 0;
    if (!IsTrail(t)) {
      AppendUtf8(out, kReplacementChar);  // lone lead byte; the next byte is decoded on its own
      ++i;
      continue;
    }
    char32_t cp = tables->Decode(static_cast<std::uint16_t>(b << 8 | t));
    AppendUtf8(out, cp);
    // An undefined pair is one U+FFFD, but an ASCII trail byte is kept as text.
    i += (cp == kReplacementChar && t < 0x80) ? 1 : 2;
  }
  return out;
}

}  // namespace tabulon
