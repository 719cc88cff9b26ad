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
#include "app/clipboard_holder.h"
#include "app/system_clipboard.h"
#include "widgets/controls.h"
#include "widgets/grid_font.h"
#include "widgets/widgets.h"

namespace {

// Without a display Qt would abort; say so in one line instead.
bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// On a Wayland session the windows run through Xwayland where the desktop
// offers it: a Wayland client is offered the clipboard only while one of its
// windows has the focus, so there the start-up read would find nothing and no
// holder could keep text after the program ends. Through Xwayland both work:
// the desktop joins the two clipboards (GNOME, weston), or, where it does so
// only while an X11 window has the focus, it announces data-control, through
// which the program reads and the holder keeps the Wayland clipboard without
// a window (sway, KDE Plasma). QT_QPA_PLATFORM still decides where it is set.
// The holders inherit the choice.
void PreferXwayland() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  if (set("WAYLAND_DISPLAY") && set("DISPLAY") && !set("QT_QPA_PLATFORM")) {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
}

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
  if (!HasDisplay()) {
    std::fprintf(stderr, "tabulon: no display to open the window on (DISPLAY is not set)\n");
    return 1;
  }
  PreferXwayland();
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
