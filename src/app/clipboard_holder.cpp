#include "app/clipboard_holder.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "preview/text_file.h"

namespace tabulon {

// How long the program waits for the holder to own the clipboard.
constexpr int kReadyTimeoutMs = 5000;

bool HandToClipboardHolder(const std::string& utf8) {
  int text[2], ready[2];
  if (::pipe2(text, O_CLOEXEC) != 0) return false;
  if (::pipe2(ready, O_CLOEXEC) != 0) {
    ::close(text[0]);
    ::close(text[1]);
    return false;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    // Forked twice, so the holder is nobody's child and leaves no zombie, in
    // a session of its own, holding neither our terminal nor our stderr.
    if (::fork() != 0) ::_exit(0);
    ::setsid();
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(text[0], 0);
    ::dup2(ready[1], 1);
    ::dup2(null, 2);
    ::execl("/proc/self/exe", "tabulon", kHolderFlag, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(text[0]);
  ::close(ready[1]);
  bool ok = child > 0;
  if (ok) {
    ::waitpid(child, nullptr, 0);
    ok = WriteAllBytes(text[1], utf8);
  }
  ::close(text[1]);  // the end of the text
  if (ok) {
    pollfd p{ready[0], POLLIN, 0};
    char byte = 0;
    ok = ::poll(&p, 1, kReadyTimeoutMs) == 1 && ::read(ready[0], &byte, 1) == 1;
  }
  ::close(ready[0]);
  return ok;
}

namespace {

// Whether something owns the X11 selection `name` on `c`.
bool SelectionOwned(xcb_connection_t* c, std::string_view name) {
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 1, static_cast<uint16_t>(name.size()), name.data()), nullptr);
  bool owned = false;
  if (atom && atom->atom != XCB_ATOM_NONE) {
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
    owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
  }
  std::free(atom);
  return owned;
}

enum class Held { UntilTaken, ByManager };

// Owns the clipboard with `text` until another program takes it. With
// `toManager`, where an X11 clipboard manager runs, it ends at once instead:
// on the way out the toolkit asks the manager to keep the text.
Held HoldClipboard(int argc, char** argv, const std::string& text, bool toManager) {
  QGuiApplication app(argc, argv);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QString::fromStdString(text));
  QObject::connect(clipboard, &QClipboard::dataChanged, &app, [&] {
    if (!clipboard->ownsClipboard()) app.quit();
  });
  Held held = Held::UntilTaken;
  QTimer::singleShot(0, &app, [&] {
    if (!clipboard->ownsClipboard()) {
      app.quit();
      return;
    }
    // The first hold tells the program that the text is on the clipboard.
    if (toManager) {
      std::fputs("ready\n", stdout);
      std::fflush(stdout);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
    }
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (toManager && x11 && SelectionOwned(x11->connection(), "CLIPBOARD_MANAGER")) {
      held = Held::ByManager;
      app.quit();
    }
  });
  app.exec();
  return held;
}

// Whether the hand-over to a clipboard manager left the text with it: the
// manager, having saved it, owns the clipboard.
bool ManagerTookClipboard() {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  const bool taken = !xcb_connection_has_error(c) && SelectionOwned(c, "CLIPBOARD");
  xcb_disconnect(c);
  return taken;
}

}  // namespace

int RunClipboardHolder(int argc, char** argv) {
  std::string text;
  if (ReadAllBytes(0, text, std::string::npos) != ReadOutcome::Ok) return 1;
  // A manager that refuses the text or takes too long leaves the clipboard
  // empty: then the holder takes it again and keeps it as without a manager.
  if (HoldClipboard(argc, argv, text, true) == Held::ByManager && !ManagerTookClipboard()) {
    HoldClipboard(argc, argv, text, false);
  }
  return 0;
}

}  // namespace tabulon
