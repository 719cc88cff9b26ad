// Build-time generator of the CP932 tables the codec is compiled with. It asks
// glibc's iconv "CP932" (the Windows mapping) about one character at a time,
// exactly as the codec once did at run time, and writes the answers as C++
// arrays to a file, so the program needs no conversion module and no set-up
// when it runs.
//
//   cp932_tables_gen OUTPUT.inc
//
// The file appears whole or not at all (document/generated_file.h).
//
// The arrays, in the codec's anonymous namespace:
//   kEncodePage[hi]            block of kEncodeBlocks for code points hi << 8..
//   kEncodeBlocks[block][lo]   CP932 code of a BMP code point: below 0x100 one
//                              byte, else lead << 8 | trail; kEncUnmappable
//                              when CP932 lacks it
//   kDecodeByte[b - 0x80]      code point of a single byte 0x80-0xFF that is
//                              not a lead byte; U+FFFD when undefined
//   kDecodePair[row * 192 + t - 0x40]
//                              code point of a lead byte and a byte t in
//                              0x40-0xFF, row being the lead byte's place
//                              among the 60 (0x81-0x9F, then 0xE0-0xFC);
//                              U+FFFD when the pair is no character
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "document/cp932.h"
#include "document/generated_file.h"

namespace {

constexpr std::uint16_t kEncUnmappable = 0xFFFF;
constexpr std::uint16_t kReplacementChar = 0xFFFD;

std::string Utf8Of(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return out;
}

// The bytes iconv makes of the whole input, or nothing when it refuses a
// byte of it.
bool Convert(iconv_t cd, std::string in, std::string& out) {
  char buf[16];
  char* in_ptr = in.data();
  std::size_t in_left = in.size();
  char* out_ptr = buf;
  std::size_t out_left = sizeof buf;
  const std::size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (rc == static_cast<std::size_t>(-1) || in_left != 0) return false;
  out.assign(buf, sizeof buf - out_left);
  return true;
}

// One byte, or a lead byte and a trail byte; anything else CP932 lacks.
std::uint16_t Encode(iconv_t cd, char32_t cp) {
  std::string out;
  if (!Convert(cd, Utf8Of(cp), out)) return kEncUnmappable;
  const auto b0 = static_cast<unsigned char>(out.empty() ? 0 : out[0]);
  if (out.size() == 1) return b0;
  if (out.size() == 2 && tabulon::IsLeadByte(b0)) {
    return static_cast<std::uint16_t>(b0 << 8 | static_cast<unsigned char>(out[1]));
  }
  return kEncUnmappable;
}

// One character of the BMP above ASCII, as iconv writes it in two or three
// UTF-8 bytes; any other answer is no character.
std::uint16_t Decode(iconv_t cd, std::string in) {
  std::string out;
  if (!Convert(cd, std::move(in), out) || out.size() < 2 || out.size() > 3) {
    return kReplacementChar;
  }
  const auto* s = reinterpret_cast<const unsigned char*>(out.data());
  const char32_t cp = out.size() == 2 ? (char32_t{s[0] & 0x1Fu} << 6) | (s[1] & 0x3Fu)
                                      : (char32_t{s[0] & 0x0Fu} << 12) |
                                            (char32_t{s[1] & 0x3Fu} << 6) | (s[2] & 0x3Fu);
  return cp == 0 ? kReplacementChar : static_cast<std::uint16_t>(cp);
}

void PrintValues(std::FILE* out, const std::vector<std::uint16_t>& v, const char* indent) {
  for (std::size_t i = 0; i < v.size(); ++i) {
    std::fprintf(out, "%s%s0x%04X,", i % 16 ? "" : "\n", i % 16 ? " " : indent, v[i]);
  }
  std::fprintf(out, "\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: cp932_tables_gen OUTPUT.inc\n", stderr);
    return 2;
  }
  const iconv_t to_cp932 = iconv_open("CP932", "UTF-8");
  const iconv_t to_utf8 = iconv_open("UTF-8", "CP932");
  if (to_cp932 == reinterpret_cast<iconv_t>(-1) || to_utf8 == reinterpret_cast<iconv_t>(-1)) {
    std::perror("cp932_tables_gen: iconv_open CP932");
    return 1;
  }

  // The encoding table in blocks of 256 code points; equal blocks (most of
  // them hold nothing) are stored once.
  std::map<std::vector<std::uint16_t>, int> block_numbers;
  std::vector<std::vector<std::uint16_t>> blocks;
  std::vector<std::uint16_t> page(256);
  for (char32_t hi = 0; hi < 0x100; ++hi) {
    std::vector<std::uint16_t> block(256);
    for (char32_t lo = 0; lo < 0x100; ++lo) {
      const char32_t cp = hi << 8 | lo;
      const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;  // never reaches the table
      block[lo] = surrogate ? kEncUnmappable : Encode(to_cp932, cp);
    }
    const auto [at, added] = block_numbers.try_emplace(block, static_cast<int>(blocks.size()));
    if (added) blocks.push_back(block);
    page[hi] = static_cast<std::uint16_t>(at->second);
  }

  std::vector<std::uint16_t> single;
  for (int b = 0x80; b <= 0xFF; ++b) {
    single.push_back(tabulon::IsLeadByte(static_cast<unsigned char>(b))
                         ? kReplacementChar
                         : Decode(to_utf8, std::string(1, static_cast<char>(b))));
  }
  std::vector<std::uint16_t> pairs;
  int leads = 0;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    if (!tabulon::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    ++leads;
    for (int t = 0x40; t <= 0xFF; ++t) {
      const bool trail = tabulon::IsTrailByte(static_cast<unsigned char>(t));
      const char in[] = {static_cast<char>(lead), static_cast<char>(t)};
      pairs.push_back(trail ? Decode(to_utf8, std::string(in, 2)) : kReplacementChar);
    }
  }
  iconv_close(to_cp932);
  iconv_close(to_utf8);
  if (blocks.size() > 0xFF || leads != 60) {
    std::fputs("cp932_tables_gen: the mapping does not fit the table layout\n", stderr);
    return 1;
  }

  const std::string path = argv[1];
  std::FILE* out = tabulon::OpenGeneratedFile(path);
  if (out == nullptr) return 1;
  std::fprintf(out,
               "// Generated at build time by cp932_tables_gen from glibc's iconv \"CP932\".\n"
               "// Do not edit; see src/document/cp932_tables_gen.cpp.\n");
  std::fprintf(out, "constexpr std::uint8_t kEncodePage[256] = {");
  for (std::size_t i = 0; i < page.size(); ++i) {
    std::fprintf(out, "%s%u,", i % 16 ? " " : "\n    ", page[i]);
  }
  std::fprintf(out, "\n};\n");
  std::fprintf(out, "constexpr std::uint16_t kEncodeBlocks[%zu][256] = {", blocks.size());
  for (const auto& block : blocks) {
    std::fprintf(out, "\n  {");
    PrintValues(out, block, "    ");
    std::fprintf(out, "  },");
  }
  std::fprintf(out, "\n};\n");
  std::fprintf(out, "constexpr std::uint16_t kDecodeByte[128] = {");
  PrintValues(out, single, "    ");
  std::fprintf(out, "};\n");
  std::fprintf(out, "constexpr int kLeadCount = %d;\n", leads);
  std::fprintf(out, "constexpr std::uint16_t kDecodePair[kLeadCount * 192] = {");
  PrintValues(out, pairs, "    ");
  std::fprintf(out, "};\n");
  return tabulon::CloseGeneratedFile(out, path) ? 0 : 1;
}
