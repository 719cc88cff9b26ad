#include "app/grid_paint.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QWidget>
#include <algorithm>

namespace tabulon {

void DrawCellText(QPainter* painter, const QRect& rect, const QFont& font, const QColor& color,
                  const QString& text) {
  painter->save();
  painter->setClipRect(rect);
  painter->setFont(font);
  painter->setPen(color);
  painter->drawText(rect.adjusted(kTextIndent, 0, 0, 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
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
