#include "app/system_clipboard.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QScopedValueRollback>
#include <cstdio>

#include "app/clipboard_holder.h"
#include "widgets/widgets.h"

namespace tabulon {

namespace {

// Set while this process puts text there itself, having no holder for it.
bool keepingOwnText = false;

}  // namespace

std::string SystemClipboardText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return {};
  return ToCp932(clipboard->text(QClipboard::Clipboard));
}

bool ClipboardNeedsFocus() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool PutSystemClipboardText(const std::string& cp932) {
  const std::string utf8 = Cp932ToUtf8(cp932);
  if (HandToClipboardHolder(utf8)) return true;
  const QScopedValueRollback keeping(keepingOwnText, true);
  QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
  return false;
}

void HandOverOwnCopies(QObject* context) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QObject::connect(clipboard, &QClipboard::changed, context, [clipboard](QClipboard::Mode mode) {
    // The toolkit reports a control's copy at once, while this process owns
    // the clipboard; it reports another owner's text only after it has read
    // that this process lost it.
    if (mode != QClipboard::Clipboard || keepingOwnText || !clipboard->ownsClipboard()) return;
    if (const QMimeData* data = clipboard->mimeData(); data && data->hasText()) {
      HandToClipboardHolder(data->text().toStdString());
    }
  });
}

void KeepUnheldText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!ClipboardNeedsFocus() || !clipboard->ownsClipboard()) return;
  std::fputs(
      "tabulon: no Xwayland to hand the clipboard to; keeping it, without a window, "
      "until another program copies\n",
      stderr);
  QEventLoop loop;
  QObject::connect(clipboard, &QClipboard::changed, &loop, [&] {
    if (!clipboard->ownsClipboard()) loop.quit();
  });
  loop.exec();
}

}  // namespace tabulon
