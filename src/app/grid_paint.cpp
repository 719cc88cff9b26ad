#include "app/grid_paint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "widgets/grid_font.h"

namespace tabulon {

void DrawCellText(QPainter* painter, const QRect& rect, const QFont& font, const QColor& color,
                  const QString& text) {
  painter->save();
  painter->setClipRect(rect);
  painter->setFont(font);
  painter->setPen(color);
  const QRect inner = rect.adjusted(kTextIndent, 0, 0, 0);
  constexpr int kFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
  const std::vector<OffGridCluster> off =
      OffGridClusters(font, text, std::max(0, inner.width()) / kPixelsPerColumn + 1);
  if (off.empty()) {
    painter->drawText(inner, kFlags, text);
  } else {
    // A cluster the font draws at another width than its columns take
    // stands alone at its column, and so does the text after it, on the
    // baseline the font's own text has.
    const QFontMetricsF metrics(font);
    const qreal baseline = inner.top() + (inner.height() - metrics.height()) / 2 + metrics.ascent();
    int at = 0;  // the text up to here is drawn
    long column = 0;
    const auto draw = [&](int end) {
      if (end > at) {
        painter->drawText(QPointF(inner.left() + kPixelsPerColumn * column, baseline),
                          text.mid(at, end - at));
      }
    };
    for (const OffGridCluster& c : off) {
      draw(c.begin);
      at = c.begin;
      column = c.column;
      draw(c.begin + c.length);
      at = c.begin + c.length;
      column = c.column + c.columns;
    }
    draw(static_cast<int>(text.size()));
  }
  painter->restore();
}

void DrawHeading(QPainter* painter, const QWidget* widget, const QRect& rect, const QString& text,
                 Qt::Orientation orientation) {
  QStyleOptionHeader opt;
  opt.initFrom(widget);
  // The style draws a heading through an image of its size.
  opt.rect = QRect(rect.topLeft(), QSize(std::min(rect.width(), kWidestShownPx), rect.height()));
  opt.orientation = orientation;
  opt.state |= QStyle::State_Raised;
  widget->style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, widget);
  DrawCellText(painter, opt.rect, widget->font(), opt.palette.color(QPalette::ButtonText), text);
}

}  // namespace tabulon
