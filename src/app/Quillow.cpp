// Start-up: the application, the main window, the event loop.
#include <unistd.h>
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Unit1.h"
#include "app/clipboard_holder.h"

namespace {

// Without a display Qt would abort; say so in one line instead.
bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

void FatalToOneLine(QtMsgType type, const QMessageLogContext&, const QString& message) {
  const QByteArray text = message.toLocal8Bit();
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "tabulon: cannot open the window: %s\n",
                 text.left(text.indexOf('\n')).constData());
    std::fflush(stderr);
    _exit(1);
  }
  std::fprintf(stderr, "%s\n", text.constData());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], tabulon::kHolderFlag) == 0) {
    return tabulon::RunClipboardHolder(argc, argv);
  }
  if (!HasDisplay()) {
    std::fprintf(stderr, "tabulon: no display to open the window on (DISPLAY is not set)\n");
    return 1;
  }
  qInstallMessageHandler(FatalToOneLine);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tabulon");
  qInstallMessageHandler(nullptr);
  tabulon::TForm1 form;
  form.show();
  return app.exec();
}
