#include "widgets/notice.h"

#include <QTimer>

#include "document/inside_text.h"

namespace tabulon {

namespace {

constexpr int kShownMs = 8000;
// One fewer than a conversion names: the last one tells there are more.
constexpr std::size_t kCharsNamed = Replacements::kNamed - 1;
constexpr int kHeight = 22;

}  // namespace

Notice::Notice(QWidget* window) : QLabel(window), timer_(new QTimer(this)) {
  setObjectName("Notice");
  setFocusPolicy(Qt::NoFocus);
  setWordWrap(false);
  setMargin(3);
  setAutoFillBackground(true);
  setFrameShape(QFrame::Box);
  QPalette p = palette();
  p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
  p.setColor(QPalette::WindowText, p.color(QPalette::ToolTipText));
  setPalette(p);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &QWidget::hide);
  hide();
}

void Notice::Show(const QString& text) {
  setText(text);
  // Across the bottom of the window, above its lowest controls' edge.
  const QWidget* window = parentWidget();
  setGeometry(4, window->height() - kHeight - 44, window->width() - 8, kHeight);
  raise();
  show();
  timer_->start(kShownMs);
}

void Notice::mousePressEvent(QMouseEvent*) {
  hide();
}

QString ReplacedNote(const Replacements& replaced) {
  const std::vector<std::string>& chars = replaced.chars;
  QString named;
  for (std::size_t i = 0; i < chars.size() && i < kCharsNamed; ++i) {
    named += (i ? QStringLiteral(" ") : QString()) + QString::fromStdString(chars[i]);
  }
  if (chars.size() > kCharsNamed) named += QStringLiteral(" …");
  return QString::fromUtf8("CP932 にない文字 %1 個を「?」にしました: %2")
      .arg(replaced.count)
      .arg(named);
}

QString UnreadableNote(const Replacements& replaced) {
  return QString::fromUtf8("文字として読めないバイト列 %1 個を「\uFFFD」にしました")
      .arg(replaced.count);
}

}  // namespace tabulon
