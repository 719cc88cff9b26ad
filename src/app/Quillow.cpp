// Start-up: the application, the main window, the event loop.
#include <malloc.h>
#include <unistd.h>
#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Unit1.h"
#include "desktop/desktop.h"
#include "widgets/controls.h"
#include "widgets/grid_font.h"
#include "widgets/widgets.h"

namespace {

// While the application starts, Qt's own messages are held back: if it
// cannot start, the first of them (usually "could not connect to display")
// is the one line the user gets.
QByteArray firstStartMessage;

void StartMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  QByteArray text = message.toLocal8Bit();
  if (const qsizetype end = text.indexOf('\n'); end >= 0) text.truncate(end);
  if (firstStartMessage.isEmpty()) firstStartMessage = text;
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "tabulon: cannot open the window: %s\n", firstStartMessage.constData());
    std::fflush(stderr);
    _exit(1);
  }
}

// The start-up benchmark measures the time to the first painted window.
class QuitAfterFirstPaint : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  // A clipboard holder that died early must not take the program with it
  // when the text is written to it: the write fails and the program keeps
  // the text itself.
  std::signal(SIGPIPE, SIG_IGN);
  // Texts of megabytes come and go (a clipboard, a loaded file, their
  // conversions): served by the system's pages directly, they go back when
  // freed rather than staying with the heap for the program's life.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  if (argc == 2 && std::strcmp(argv[1], tabulon::kHolderFlag) == 0) {
    return tabulon::RunClipboardHolder(argc, argv);
  }
  if (!tabulon::HasDisplay()) {
    std::fprintf(stderr, "tabulon: no display to open the window on (DISPLAY is not set)\n");
    return 1;
  }
  tabulon::PreferXwayland();
  qInstallMessageHandler(StartMessages);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tabulon");
  qInstallMessageHandler(nullptr);
  // Dialogs, context menus and message boxes in Japanese and in the windows'
  // font, like the rest of the program, with Japanese dates in the file
  // dialogs whatever the system's locale.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  tabulon::InstallToolkitTranslations();
  QApplication::setFont(tabulon::WindowFont());
  bool exactFont = false;
  tabulon::GridFont(&exactFont);
  if (!exactFont) {
    std::fprintf(stderr,
                 "tabulon: no installed font draws 6 px and 12 px characters at 12 px "
                 "(fonts-ipafont-gothic has one); the grid will not line up\n");
  }
  tabulon::TForm1 form;
  form.Start();
  QuitAfterFirstPaint quitAfterFirstPaint;
  if (std::getenv("TABULON_QUIT_AFTER_FIRST_PAINT")) form.installEventFilter(&quitAfterFirstPaint);
  form.show();
  const int status = app.exec();
  tabulon::KeepUnheldText();
  return status;
}
