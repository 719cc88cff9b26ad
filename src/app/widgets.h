// Small helpers for laying out the windows' controls as designed.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <initializer_list>

namespace tabulon {

inline QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
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

}  // namespace tabulon
