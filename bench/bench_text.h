// Deterministic cell texts for the benchmark programs: ASCII words, numbers,
// kanji, half-width kana and mixtures of them, written in UTF-8 with a known
// width in columns (as many as their CP932 bytes), so every run and every
// machine times the same text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon::bench {

class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint32_t state_;
};

// Three UTF-8 bytes per character in both sets; a kanji is two CP932 bytes,
// a half-width kana one.
inline constexpr std::string_view kKanji =
    "表計算日本語文字列行見出線作成東京大阪売上合計品目数量単価金額月火水木土";
inline constexpr std::string_view kHalfKana = "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ";

inline std::string_view PickChar(std::string_view set, Lcg& rng) {
  return set.substr(3 * static_cast<std::size_t>(rng.Below(static_cast<int>(set.size() / 3))), 3);
}

enum class CellKind { Word, Number, Kanji, Kana, Mixed };

// Roughly: 30% words, 25% numbers, 25% kanji, 10% kana, 10% mixed.
inline CellKind PickKind(Lcg& rng) {
  const int k = rng.Below(20);
  if (k < 6) return CellKind::Word;
  if (k < 11) return CellKind::Number;
  if (k < 16) return CellKind::Kanji;
  if (k < 18) return CellKind::Kana;
  return CellKind::Mixed;
}

// A cell text `bytes` columns wide (at least 1; as many CP932 bytes), in
// UTF-8.
inline std::string MakeCellUtf8(Lcg& rng, CellKind kind, int bytes) {
  std::string s;
  int w = 0;  // columns so far
  switch (kind) {
    case CellKind::Word:
      for (; w < bytes; ++w) s.push_back(static_cast<char>((w == 0 ? 'A' : 'a') + rng.Below(26)));
      break;
    case CellKind::Number:
      // Digits with a sign, a yen sign, thousands commas or a decimal point.
      if (bytes > 2 && rng.Below(4) == 0) {
        s.push_back(rng.Below(2) ? '-' : '\\');
        ++w;
      }
      for (; w < bytes; ++w) {
        const int left = bytes - w;
        if (left == 3 && bytes > 5 && rng.Below(2)) {
          s.push_back('.');
        } else if (left == 4 && bytes > 6 && rng.Below(2)) {
          s.push_back(',');
        } else {
          s.push_back(static_cast<char>('0' + rng.Below(10)));
        }
      }
      break;
    case CellKind::Kanji:
      for (; w + 2 <= bytes; w += 2) s += PickChar(kKanji, rng);
      if (w < bytes) {
        s += PickChar(kHalfKana, rng);
        ++w;
      }
      break;
    case CellKind::Kana:
      for (; w < bytes; ++w) s += PickChar(kHalfKana, rng);
      break;
    case CellKind::Mixed:
      // A kanji name with a number after it, or kana around a letter.
      while (w < bytes) {
        const int left = bytes - w;
        if (left >= 2 && rng.Below(2)) {
          s += PickChar(kKanji, rng);
          w += 2;
          continue;
        }
        if (rng.Below(2)) {
          s.push_back(static_cast<char>('0' + rng.Below(10)));
        } else {
          s += PickChar(kHalfKana, rng);
        }
        ++w;
      }
      break;
  }
  return s;
}

struct TabTextShape {
  int lines = 256;
  int fields = 35;
  int minBytes = 1;  // columns of a non-empty field (its CP932 length)
  int maxBytes = 12;
  int emptyPercent = 0;  // share of fields left empty
  std::uint32_t seed = 1;
};

// Spreadsheet-style text: `lines` lines of `fields` TAB-separated fields,
// each line ended by LF, in UTF-8.
inline std::string MakeTabTextUtf8(const TabTextShape& shape) {
  Lcg rng(shape.seed);
  std::string out;
  out.reserve(static_cast<std::size_t>(shape.lines) * static_cast<std::size_t>(shape.fields) *
              static_cast<std::size_t>(shape.maxBytes + 1));
  for (int l = 0; l < shape.lines; ++l) {
    for (int f = 0; f < shape.fields; ++f) {
      if (f > 0) out.push_back('\t');
      if (shape.emptyPercent > 0 && rng.Below(100) < shape.emptyPercent) continue;
      const int bytes = shape.minBytes + rng.Below(shape.maxBytes - shape.minBytes + 1);
      out += MakeCellUtf8(rng, PickKind(rng), bytes);
    }
    out.push_back('\n');
  }
  return out;
}

}  // namespace tabulon::bench
