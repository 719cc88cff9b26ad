#include "widgets/grid_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

#include "document/width.h"

namespace tabulon {

namespace {

bool MeasuresSixAndTwelve(const QFont& font) {
  const QFontMetrics m(font);
  return m.horizontalAdvance(QStringLiteral("X")) == 6 &&
         m.horizontalAdvance(QStringLiteral("XX")) == 12 &&
         m.horizontalAdvance(QString::fromUtf8("漢")) == 12 &&
         m.horizontalAdvance(QString::fromUtf8("ｱ┼")) == 18;
}

// How a font draws a cluster against the grid.
struct Fit {
  bool off = false;
  qreal advance = 0;
  int spacings = 0;
};

// The fits of the clusters met in one font, by their UTF-8 bytes.
class Fits {
 public:
  explicit Fits(const QFont& font) : font_(font) {}
  const QFont& Font() const { return font_; }

  const Fit& Of(std::string_view utf8, QStringView cluster, int columns) {
    auto found = fits_.find(utf8);
    if (found == fits_.end())
      found = fits_.emplace(std::string(utf8), Measure(cluster, columns)).first;
    return found->second;
  }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };

  Fit Measure(QStringView cluster, int columns) const {
    // The advance as a line lays the cluster out, with the fallback fonts.
    const QString text = cluster.toString();
    const qreal natural = QFontMetricsF(font_).horizontalAdvance(text);
    const qreal grid = columns * kPixelsPerColumn;
    if (std::abs(natural - grid) < 1.0 / 128) return {};
    // Letter spacing is added once to each of the glyph clusters the shaper
    // makes of it: count them.
    QFont spaced(font_);
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    const long spacings = std::lround(QFontMetricsF(spaced).horizontalAdvance(text) - natural);
    return {true, natural, static_cast<int>(std::max(0L, spacings))};
  }

  QFont font_;
  std::unordered_map<std::string, Fit, Hash, std::equal_to<>> fits_;
};

Fits& FitsOf(const QFont& font) {
  // One font or two in a program: the grid's, and the headings' where a
  // style gives them another.
  static std::deque<Fits> known;
  for (Fits& fits : known) {
    if (fits.Font() == font) return fits;
  }
  return known.emplace_back(font);
}

}  // namespace

QFont GridFont(bool* exact) {
  struct Choice {
    QFont font;
    bool exact;
  };
  static const Choice chosen = [] {
    // Asking fontconfig for each family is much cheaper than listing every
    // installed family first; a family that is missing comes back as another
    // font, which the measuring turns down.
    for (const char* family : {"IPAGothic", "VL Gothic", "Noto Sans Mono CJK JP", "IPAexGothic"}) {
      QFont font(QString::fromUtf8(family));
      font.setPixelSize(12);
      font.setStyleHint(QFont::TypeWriter);
      if (MeasuresSixAndTwelve(font)) return Choice{font, true};
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    return Choice{font, MeasuresSixAndTwelve(font)};
  }();
  if (exact) *exact = chosen.exact;
  return chosen.font;
}

std::vector<OffGridCluster> OffGridClusters(const QFont& font, QStringView text, long columns) {
  std::vector<OffGridCluster> off;
  if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) return off;
  const QByteArray utf8 = text.toUtf8();
  const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  Fits& fits = FitsOf(font);
  int unit = 0;  // where the cluster begins in UTF-16 units
  long column = 0;
  for (const Cluster& c : Clusters(bytes)) {
    if (column >= columns) break;
    // A lead byte is one UTF-16 unit, two for a four-byte sequence.
    int units = 0;
    bool ascii = true;
    for (std::size_t i = c.begin; i < c.end; ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if ((b & 0xC0) != 0x80) units += b >= 0xF0 ? 2 : 1;
      ascii = ascii && b < 0x80;
    }
    if (!ascii) {
      const Fit& fit =
          fits.Of(bytes.substr(c.begin, c.end - c.begin), text.mid(unit, units), c.columns);
      if (fit.off) off.push_back({unit, units, column, c.columns, fit.advance, fit.spacings});
    }
    unit += units;
    column += c.columns;
  }
  return off;
}

}  // namespace tabulon
