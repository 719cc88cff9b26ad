// The grid's fixed-pitch font: 6 px for a character of one display column and
// 12 px for one of two at pixel size 12, which the column widths rest on.
#pragma once

#include <QFont>
#include <QStringView>
#include <climits>
#include <vector>

#include "document/grid.h"

namespace tabulon {

// The first installed font of the known good ones that measures 6 and 12 px;
// otherwise the closest fixed-pitch font, with `exact` false.
QFont GridFont(bool* exact = nullptr);

// A cluster of a text (document/width.h) that `font` draws at another width
// than its columns × kPixelsPerColumn: a character the font lacks and another font
// draws (an emoji, Hangul), a sequence drawn as several pictures (a flag the
// fonts lack), a mark with nothing before it. `begin` and `length` count the
// text's UTF-16 units; `column` is the columns before it.
struct OffGridCluster {
  int begin = 0;
  int length = 0;
  long column = 0;
  int columns = 0;
  // Its advance in the font, and how many times an absolute letter spacing
  // is added to it (once for each glyph cluster the shaper makes of it: two
  // for some sequences the fonts lack; none for a cluster of no glyphs).
  qreal advance = 0;
  int spacings = 0;
};

// The clusters of `text` that begin before column `columns` and that `font`
// draws off the grid, in order; none for ASCII, which is only scanned. Each
// distinct cluster is measured once per font, with the fonts that stand in
// for characters the font lacks, as the text is drawn.
std::vector<OffGridCluster> OffGridClusters(const QFont& font, QStringView text,
                                            long columns = LONG_MAX);

}  // namespace tabulon
