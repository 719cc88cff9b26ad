#include "widgets/grid_font.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace tabulon {

namespace {

bool MeasuresSixAndTwelve(const QFont& font) {
  const QFontMetrics m(font);
  return m.horizontalAdvance(QStringLiteral("X")) == 6 &&
         m.horizontalAdvance(QStringLiteral("XX")) == 12 &&
         m.horizontalAdvance(QString::fromUtf8("漢")) == 12 &&
         m.horizontalAdvance(QString::fromUtf8("ｱ┼")) == 18;
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

}  // namespace tabulon
