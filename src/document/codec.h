// Conversion between UTF-8 (files, clipboard, the outside world) and CP932,
// the byte encoding every text inside Tabulon uses.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// UTF-8 -> CP932. Characters CP932 lacks become "?", and so does each invalid
// UTF-8 byte sequence (a stray byte, a truncated character, an overlong form,
// an encoded surrogate): one "?" per sequence. If `replaced` is non-null, the
// number of "?" substitutions is ADDED to *replaced.
// A few characters without an exact CP932 twin take the code CP932 uses for
// them (U+00A5 YEN SIGN -> 0x5C, U+2016 -> 0x8161, U+2212 -> 0x817C, ...);
// those count as converted, not replaced.
std::string Utf8ToCp932(std::string_view utf8, std::size_t* replaced = nullptr);

// What a conversion wrote as "?": how many, and, for telling the user, the
// first few characters that were (UTF-8, each once, in the order they first
// stand; a bad byte sequence shows as U+FFFD).
struct Replacements {
  static constexpr std::size_t kNamed = 9;  // at most this many characters
  std::size_t count = 0;
  std::vector<std::string> chars;
  // Adds `ch` to the names unless it is there already or kNamed are.
  void Name(std::string_view ch);
};
// Utf8ToCp932, adding to `replaced` what it wrote as "?".
std::string Utf8ToCp932(std::string_view utf8, Replacements& replaced);

// The length in bytes of Utf8ToCp932(utf8), with its "?" count added to
// *replaced in the same way, without building the text: for text that is
// only measured and then left out.
std::size_t Cp932Length(std::string_view utf8, std::size_t* replaced = nullptr);

// The number of bytes of cp's CP932 code (1 or 2), or 0 when CP932 has no
// code for it: the codec's own encoding table, look-alikes (U+301C, U+2212,
// U+00A2 ...) included, so that whatever measures text by it agrees with
// Utf8ToCp932 to the byte.
int Cp932CodeLength(char32_t cp);

// The character of UTF-8 text at text[i] (i < text.size()), advancing i past
// it. A bad sequence is read whole, as Utf8ToCp932 counts it (one "?"), and
// gives U+FFFD.
char32_t ReadCodePoint(std::string_view text, std::size_t& i);

// A code point in UTF-8 (up to four bytes; no check that it is a character).
std::string Utf8Of(char32_t cp);

// Whether the text is well-formed UTF-8: no stray or missing continuation
// byte, no overlong form, no encoded surrogate, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The length of the run of ASCII bytes that begins the text: bytes that
// UTF-8 and CP932 share, each one column wide.
std::size_t AsciiPrefixLength(std::string_view text);

// A UTF-8 text from outside (the clipboard, standard input) without the
// byte-order mark that may begin it, which is no part of the text. Both
// roads in convert WithoutUtf8Bom(text) with Utf8ToCp932, so the same bytes
// give the same cells and widths in the window and in the filter.
std::string_view WithoutUtf8Bom(std::string_view utf8);

// The CP932 code of cp: a single byte (0x00-0xFF), or lead << 8 | trail;
// -1 when CP932 has none. The table Utf8ToCp932 and Cp932CodeLength use.
int Cp932Code(char32_t cp);

// UTF-8 text made well-formed: each bad sequence (bounded as Utf8ToCp932
// bounds it, one "?" there) becomes U+FFFD, counted in `replaced` and named
// as U+FFFD. Valid text stays as it is: this form returns `utf8` itself and
// leaves `storage` alone, and writes a repaired copy to `storage` and returns
// that only when a bad sequence is there.
std::string_view SanitizeUtf8(std::string_view utf8, std::string& storage,
                              Replacements& replaced);
// The same as a string of its own.
std::string SanitizeUtf8(std::string_view utf8, Replacements& replaced);
// The number of bad sequences SanitizeUtf8 would replace.
std::size_t BadUtf8Count(std::string_view utf8);

// Whether bytes holding `bad` bad UTF-8 sequences among `nonAscii` bytes
// above 0x7F read best as UTF-8: valid UTF-8, or UTF-8 with a stray bad
// sequence here and there (fewer than one for 16 such bytes), where CP932
// text read as UTF-8 has one for every two or three.
constexpr bool ReadsAsUtf8(std::size_t bad, std::size_t nonAscii) {
  return bad == 0 || bad * 16 < nonAscii;
}
// The number of bytes above 0x7F.
std::size_t NonAsciiBytes(std::string_view text);

// CP932 -> UTF-8 by the rules of Cp932ToUtf8, each U+FFFD written (a byte or
// pair that is no character) counted in `replaced` and named as U+FFFD.
std::string DecodeCp932(std::string_view cp932, Replacements& replaced);

// UTF-8 -> CP932 by display cluster (width.h), so that the bytes written are
// as many as the text's columns and a table stays lined up: a cluster whose
// characters the code page all holds (joiners and variation selectors aside,
// which only choose how the character before is drawn) and whose codes take
// as many bytes as it takes columns (by the default rule, whatever the
// current one) is written as those codes; any other as one "?" for each of
// its columns under the current rule (none for a cluster of no columns),
// counted once and named by its UTF-8. A look-alike the code page holds (U+301C,
// U+2212, U+00A5 ...) takes its code and is not counted. U+FFFD and bad UTF-8
// (read as U+FFFD) are "?", counted here too: the text written lost them.
std::string EncodeCp932(std::string_view utf8, Replacements& replaced);

namespace detail {
// EncodeCp932's road for most text: writes at `out` the codes of the
// characters from utf8[from] on while each is ASCII or held by the code page
// and is a cluster of its own (no character the code page holds joins the
// one before, nor does ASCII), and returns where it stopped: the end of the
// text or the start of a cluster that must be read whole. Writes no more
// bytes than it reads.
std::size_t EncodeCp932Plain(std::string_view utf8, std::size_t from, char*& out);
}  // namespace detail

// CP932 -> UTF-8. Never fails. Bytes CP932 does not define (0x80, 0xA0,
// 0xFD-0xFF), a lead byte at the end of the text or followed by a byte that
// cannot be a trail byte, and an unassigned double-byte code each become one
// U+FFFD. A lead byte is never allowed to swallow an ASCII byte: if the pair
// is not a character, the ASCII byte after the lead is decoded on its own.
std::string Cp932ToUtf8(std::string_view cp932);
// The same, appended to `out`.
void AppendCp932ToUtf8(std::string& out, std::string_view cp932);

}  // namespace tabulon
