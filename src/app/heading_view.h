// The grid's headers: the heading row and the row headings, drawn as the
// cells are, passing the grid every mouse event after their own handling.
#pragma once

#include <QEvent>
#include <QHeaderView>
#include <QSize>

#include <functional>
#include <utility>

namespace tabulon {

// Heading row and row headings, drawn as the cells are. The header moves and
// sizes its sections itself; then each mouse event and tool tip request goes
// on to the grid, as the grid's own.
class HeadingView : public QHeaderView {
  Q_OBJECT
 public:
  using Forward = std::function<bool(QEvent*, QWidget*)>;
  HeadingView(Qt::Orientation orientation, Forward forward, QWidget* parent)
      : QHeaderView(orientation, parent), forward_(std::move(forward)) {}
  // The grid fixes the headers' thickness; measuring 256 headings for a
  // size hint would only cost start-up time.
  QSize sizeHint() const override { return size(); }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  Forward forward_;
};

}  // namespace tabulon
