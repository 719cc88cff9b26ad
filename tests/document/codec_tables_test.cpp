// The codec's compiled tables against glibc's iconv "CP932", asked one
// character at a time as the tables were made: every code point and every
// one- and two-byte CP932 text, so a change of either side shows here.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "document/codec.h"
#include "document/cp932.h"

namespace tabulon {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

std::string Utf8Of(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// One iconv descriptor; Convert gives the whole output, or nothing when any
// of the input is refused.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(std::string in) {
    char buf[16];
    char* in_ptr = in.data();
    std::size_t in_left = in.size();
    char* out_ptr = buf;
    std::size_t out_left = sizeof buf;
    const std::size_t rc = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (rc == static_cast<std::size_t>(-1) || in_left != 0) return std::nullopt;
    return std::string(buf, sizeof buf - out_left);
  }

 private:
  iconv_t cd_;
};

// Reports the first few differences only: a drifted table would otherwise
// print thousands of lines.
class Mismatches {
 public:
  void Add(const std::string& what, const std::string& got, const std::string& want) {
    if (count_++ < 10) {
      ADD_FAILURE() << what << ": codec gives " << testing::PrintToString(got) << ", iconv "
                    << testing::PrintToString(want);
    }
  }
  int count() const { return count_; }

 private:
  int count_ = 0;
};

std::string Hex(unsigned value, const char* prefix) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%s%04X", prefix, value);
  return buf;
}

bool IsOneUtf8Char(const std::string& s) {
  if (s.empty()) return false;
  const auto b = static_cast<unsigned char>(s[0]);
  const std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
  return s.size() == len;
}

TEST(Cp932Tables, EveryCodePointEncodesAsIconvDoes) {
  Iconv iconv_to_cp932("CP932", "UTF-8");
  ASSERT_TRUE(iconv_to_cp932.ok()) << "glibc has no CP932 converter";
  Mismatches bad;
  int mapped = 0;
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;  // no UTF-8 form
    const std::string utf8 = Utf8Of(cp);
    // A character is one byte or a lead and a trail byte; anything else is
    // not in CP932 and becomes "?".
    std::optional<std::string> want = iconv_to_cp932.Convert(utf8);
    const bool ok =
        want && (want->size() == 1 ||
                 (want->size() == 2 && IsLeadByte(static_cast<unsigned char>((*want)[0]))));
    if (!ok) want = "?";
    mapped += ok;
    std::size_t replaced = 0, measured = 0;
    const std::string got = Utf8ToCp932(utf8, &replaced);
    if (got != *want || replaced != (ok ? 0u : 1u)) bad.Add(Hex(cp, "U+"), got, *want);
    const std::size_t length = Cp932Length(utf8, &measured);
    if (length != want->size() || measured != replaced) {
      bad.Add("length and \"?\" count of " + Hex(cp, "U+"),
              std::to_string(length) + " " + std::to_string(measured),
              std::to_string(want->size()) + " " + std::to_string(replaced));
    }
  }
  EXPECT_EQ(bad.count(), 0);
  // ASCII, half-width kana and the double-byte characters, one-way ones
  // included: a converter that lost its tables would map almost nothing.
  EXPECT_GT(mapped, 7000);
}

// What the codec makes of one or two bytes, told by iconv one character at a
// time and by the rules codec.h states for what iconv refuses.
class DecodeOracle {
 public:
  DecodeOracle() : iconv_("UTF-8", "CP932") {}
  bool ok() const { return iconv_.ok(); }

  // One byte on its own: ASCII, a one-byte character, or U+FFFD.
  std::string Single(unsigned char b) {
    if (IsLeadByte(b)) return kFffd;
    const auto one = iconv_.Convert(std::string(1, static_cast<char>(b)));
    return one && IsOneUtf8Char(*one) ? *one : kFffd;
  }

  std::string Pair(unsigned char b, unsigned char t) {
    if (!IsLeadByte(b)) return Single(b) + Single(t);
    if (!IsTrailByte(t)) return kFffd + Single(t);  // a lone lead byte
    const auto one = iconv_.Convert({static_cast<char>(b), static_cast<char>(t)});
    if (one && IsOneUtf8Char(*one)) return *one;
    // An unassigned pair is one U+FFFD, but its ASCII trail byte stays text.
    return t < 0x80 ? kFffd + static_cast<char>(t) : kFffd;
  }

 private:
  Iconv iconv_;
};

TEST(Cp932Tables, EveryOneAndTwoByteTextDecodesAsIconvDoes) {
  DecodeOracle oracle;
  ASSERT_TRUE(oracle.ok()) << "glibc has no CP932 converter";
  Mismatches bad;
  int defined = 0;
  for (int b = 0; b <= 0xFF; ++b) {
    const auto ub = static_cast<unsigned char>(b);
    const std::string got = Cp932ToUtf8(std::string(1, static_cast<char>(b)));
    const std::string want = oracle.Single(ub);
    if (got != want) bad.Add(Hex(static_cast<unsigned>(b), "byte 0x"), got, want);
    for (int t = 0; t <= 0xFF; ++t) {
      const auto ut = static_cast<unsigned char>(t);
      const std::string text = {static_cast<char>(b), static_cast<char>(t)};
      const std::string got2 = Cp932ToUtf8(text);
      const std::string want2 = oracle.Pair(ub, ut);
      if (got2 != want2) bad.Add(Hex(static_cast<unsigned>(b << 8 | t), "bytes 0x"), got2, want2);
      defined += IsLeadByte(ub) && IsOneUtf8Char(want2) && want2 != kFffd;
    }
  }
  EXPECT_EQ(bad.count(), 0);
  EXPECT_GT(defined, 7000);  // the double-byte characters, duplicates included
}

}  // namespace
}  // namespace tabulon
