// Small helpers shared by the windows: text between the document's inside
// text and the toolkit's strings, and laying out controls as designed.
#pragma once

#include <QKeyEvent>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <string_view>

#include "document/inside_text.h"

namespace tabulon {

inline QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// Inside text as the toolkit shows it, and the toolkit's text as inside
// text: both keep every character.
inline QString QStringFromInside(std::string_view inside) {
  return QString::fromStdString(Utf8FromInside(inside));
}
inline std::string InsideFromQString(const QString& text) {
  return InsideFromUtf8(text.toStdString());
}

// Names a control and puts it at its designed place in client pixels.
template <typename W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(U(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

// A hint of one or more lines.
inline void Hint(QWidget* widget, std::initializer_list<const char*> lines) {
  QStringList text;
  for (const char* line : lines) text << U(line);
  widget->setToolTip(text.join('\n'));
}

// The windows' proportional Japanese font at 12 px, for their controls,
// menus and hints alike.
inline QFont WindowFont() {
  QFont font(U("IPAPGothic"));
  font.setPixelSize(12);
  return font;
}

// A window of fixed size with a title bar and a close box only, in the
// window font, which its hints use too; `kind` is Qt::Window or Qt::Dialog.
inline void MakeFixedWindow(QWidget* window, Qt::WindowType kind, const char* title, int width,
                            int height) {
  window->setWindowTitle(U(title));
  window->setWindowFlags(kind | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
  window->setFixedSize(width, height);
  window->setFont(WindowFont());
  QToolTip::setFont(WindowFont());
}

// Sets the tab order of a window's controls, first to last.
inline void SetTabOrder(std::initializer_list<QWidget*> order) {
  QWidget* const* w = order.begin();
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(w[i - 1], w[i]);
}

// The focus frame that a window draws around a control that shows no focus
// of its own; `rect` is in the window's pixels. It shows after a click too,
// not only after keyboard moves as styles often do.
inline void DrawFocusFrame(QWidget* window, const QRect& rect) {
  QPainter painter(window);
  QStyleOptionFocusRect option;
  option.initFrom(window);
  option.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
  option.rect = rect;
  window->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, window);
}

// Escape closes neither window: only their buttons and title bars do. A
// window's keyPressEvent passes on only the keys this leaves.
inline bool SwallowEscape(QKeyEvent* event) {
  if (event->key() != Qt::Key_Escape) return false;
  event->accept();
  return true;
}

}  // namespace tabulon
