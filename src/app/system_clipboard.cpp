#include "app/system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/widgets.h"

namespace tabulon {

std::string SystemClipboardText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return {};
  return ToCp932(clipboard->text(QClipboard::Clipboard));
}

}  // namespace tabulon
