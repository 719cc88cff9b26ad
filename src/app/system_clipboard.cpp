#include "app/system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "document/codec.h"

namespace tabulon {

std::string SystemClipboardText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return {};
  return Utf8ToCp932(clipboard->text(QClipboard::Clipboard).toStdString());
}

}  // namespace tabulon
