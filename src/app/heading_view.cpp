#include "app/heading_view.h"

#include <QAbstractItemModel>
#include <QMouseEvent>
#include <QPainter>

#include "app/grid_paint.h"

namespace tabulon {

void HeadingView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  if (!rect.isValid()) return;
  const QString text =
      model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
  DrawHeading(painter, this, rect, text, orientation());
}

void HeadingView::mousePressEvent(QMouseEvent* event) {
  QHeaderView::mousePressEvent(event);
  forward_(event, viewport());
}

void HeadingView::mouseReleaseEvent(QMouseEvent* event) {
  QHeaderView::mouseReleaseEvent(event);
  forward_(event, viewport());
}

void HeadingView::mouseMoveEvent(QMouseEvent* event) {
  QHeaderView::mouseMoveEvent(event);
  forward_(event, viewport());
}

void HeadingView::mouseDoubleClickEvent(QMouseEvent* event) {
  QHeaderView::mouseDoubleClickEvent(event);
  forward_(event, viewport());
}

bool HeadingView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) return forward_(event, viewport());
  return QHeaderView::viewportEvent(event);
}

}  // namespace tabulon
