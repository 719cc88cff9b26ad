#include "desktop/clipboard_holder.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "desktop/desktop.h"
#include "desktop/wayland_clipboard.h"
#include "desktop/x11_clipboard.h"
#include "files/byte_io.h"

namespace tabulon {

namespace {

using Clock = std::chrono::steady_clock;

// How long the program waits for a holder to own the clipboard.
constexpr std::chrono::milliseconds kReadyTimeout{5000};

int MsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<long long>(left.count(), 0));
}

// Whether a byte (the holder's "ready") comes on `fd` before `deadline`.
bool ByteBefore(int fd, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    const int polled = ::poll(&p, 1, MsLeft(deadline));
    if (polled < 0 && errno == EINTR) continue;
    if (polled != 1) return false;
    char byte = 0;
    const ssize_t n = ::read(fd, &byte, 1);
    if (n < 0 && errno == EINTR) continue;
    return n == 1;
  }
}

// The holder of the newest text and the write end of its pipe, which closes
// when the program ends. Holders before it have lost the clipboard to it and
// end by themselves; they are reaped here.
struct Holders {
  pid_t newest = -1;
  int link = -1;
  std::vector<pid_t> older;
};
Holders holders;

// Starts a holder on the pipes; -1 if it could not be started.
pid_t StartHolder(int text, int ready) {
  const pid_t child = ::fork();
  if (child != 0) return child;
  // In a session of its own, so that the terminal's signals do not reach it,
  // holding neither the terminal nor the program's stderr.
  ::setsid();
  const int null = ::open("/dev/null", O_RDWR);
  ::dup2(text, 0);
  ::dup2(ready, 1);
  ::dup2(null, 2);
  ::execl("/proc/self/exe", "tabulon", kHolderFlag, static_cast<char*>(nullptr));
  ::_exit(127);
}

}  // namespace

bool HandToClipboardHolder(const std::string& utf8) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  int text[2], ready[2];
  if (::pipe2(text, O_CLOEXEC) != 0) return false;
  if (::pipe2(ready, O_CLOEXEC) != 0) {
    ::close(text[0]);
    ::close(text[1]);
    return false;
  }
  const pid_t child = StartHolder(text[0], ready[1]);
  ::close(text[0]);
  ::close(ready[1]);
  const Clock::time_point deadline = Clock::now() + kReadyTimeout;
  const bool ok = child > 0 && ::fcntl(text[1], F_SETFL, O_NONBLOCK) == 0 &&
                  WriteBefore(text[1], HolderFrameHead(utf8.size()), deadline) &&
                  WriteBefore(text[1], utf8, deadline) && ByteBefore(ready[0], deadline);
  ::close(ready[0]);
  if (!ok) {
    // A holder that did not report in time must not take the clipboard
    // later, over newer text.
    if (child > 0) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
    ::close(text[1]);
    return false;
  }
  // The new holder owns the clipboard; the one before it has lost it, and
  // its pipe closes so that it cannot mistake itself for the last.
  if (holders.link >= 0) ::close(holders.link);
  if (holders.newest > 0) holders.older.push_back(holders.newest);
  holders.newest = child;
  holders.link = text[1];
  std::erase_if(holders.older, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
  return true;
}

std::string HolderFrameHead(std::size_t size) {
  return std::to_string(size) + '\n';
}

bool ReadHolderFrame(int fd, std::string& text) {
  std::string count;
  for (char c = 0; c != '\n';) {
    const ssize_t n = ::read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n != 1 || count.size() > 18) return false;
    if (c != '\n') count += c;
  }
  std::size_t size = 0;
  const char* end = count.data() + count.size();
  if (count.empty() || std::from_chars(count.data(), end, size).ptr != end) return false;
  text.clear();
  char block[1 << 16];
  while (text.size() < size) {
    const ssize_t n = ::read(fd, block, std::min(sizeof block, size - text.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.append(block, static_cast<std::size_t>(n));
  }
  return true;
}

namespace {

// A holder's Wayland side, where the compositor lets a program without a
// window own its clipboard: the compositors that do so pass the clipboard
// between Wayland and X11 programs only while an X11 window has the focus,
// so once the program's windows are gone the holder keeps the text on both.
// Taking the Wayland clipboard makes such a compositor take the X11 one to
// pass it on; the holder takes that back once. Another program's copy on
// either side ends the holder.
class WaylandSide {
 public:
  // `wayland` owns the clipboard with `text` already.
  WaylandSide(std::unique_ptr<WaylandClipboard> wayland, const std::string& text,
              std::function<bool()> ownsX11, QObject* context)
      : wayland_(std::move(wayland)), text_(text), ownsX11_(std::move(ownsX11)) {
    changes_ = wayland_->Changes();
    events_ = std::make_unique<QSocketNotifier>(wayland_->Descriptor(), QSocketNotifier::Read);
    QObject::connect(events_.get(), &QSocketNotifier::activated, context, [this] { Events(); });
  }

  bool Owns() const { return wayland_->Owns(); }

 private:
  void Events() {
    if (!wayland_->Dispatch()) {
      // The compositor went away; the X11 side alone keeps the text.
      if (!ownsX11_()) std::_Exit(0);
      events_->setEnabled(false);
      return;
    }
    if (wayland_->Owns() || wayland_->Changes() == changes_) return;
    changes_ = wayland_->Changes();
    if (!ownsX11_()) std::_Exit(0);
    Compare();
  }

  // The Wayland clipboard changed hands while the holder still owns the X11
  // one: the compositor passing that on (the same text) keeps the holder,
  // another program's copy ends it. An emptied clipboard is no copy.
  void Compare() {
    check_.reset();
    if (checkFd_ >= 0) ::close(checkFd_);
    checkFd_ = -1;
    if (wayland_->Forms().empty()) return;
    checkFd_ = wayland_->Receive(wayland_->TextForm());
    if (checkFd_ < 0) std::_Exit(0);
    seen_.clear();
    check_ = std::make_unique<QSocketNotifier>(checkFd_, QSocketNotifier::Read);
    QObject::connect(check_.get(), &QSocketNotifier::activated, check_.get(), [this] {
      char block[1 << 16];
      const ssize_t n = ::read(checkFd_, block, sizeof block);
      if (n < 0 && errno == EINTR) return;
      if (n > 0) {
        seen_.append(block, static_cast<std::size_t>(n));
        if (seen_.size() > text_.size() || text_.compare(0, seen_.size(), seen_) != 0) {
          std::_Exit(0);
        }
        return;
      }
      if (n == 0 && seen_ != text_) std::_Exit(0);
      // The same text, or an owner that failed to send: nothing new.
      check_->setEnabled(false);
      ::close(checkFd_);
      checkFd_ = -1;
    });
  }

  std::unique_ptr<WaylandClipboard> wayland_;
  const std::string& text_;
  std::function<bool()> ownsX11_;
  std::unique_ptr<QSocketNotifier> events_;
  unsigned changes_ = 0;
  std::unique_ptr<QSocketNotifier> check_;
  int checkFd_ = -1;
  std::string seen_;
};

enum class Ending { Taken, ToManager };

// Owns the clipboard with `text` and ends the process as soon as another
// owner takes it. With `program` (the pipe from the program), says "ready"
// once it owns the clipboard; when the program has ended and an X11
// clipboard manager runs, it returns instead, so that the toolkit hands the
// text to the manager as the application goes.
Ending HoldClipboard(int argc, char** argv, const std::string& text, int program) {
  QGuiApplication app(argc, argv);
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QString unicode = QString::fromStdString(text);
  // After the hand-over to a clipboard manager: done if the clipboard now
  // serves the text. A manager that refused it, kept something else or has
  // not taken it yet leaves it to the holder, which keeps it as without one.
  if (program < 0 && clipboard->text() == unicode) std::_Exit(0);
  QPointer<QMimeData> held;
  const auto take = [&] {
    held = new QMimeData;
    held->setText(unicode);
    clipboard->setMimeData(held);
  };
  take();
  // The X server's answer, not the toolkit's record, which lags behind until
  // the news of a new owner has been read.
  const auto owns = [&] { return held && clipboard->mimeData() == held; };
  // Leaving through the toolkit would offer text this holder no longer owns
  // to a clipboard manager.
  if (!owns()) std::_Exit(1);
  auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
  std::unique_ptr<WaylandSide> wayland;
  bool tookBack = false;
  QObject::connect(clipboard, &QClipboard::changed, &app, [&](QClipboard::Mode mode) {
    if (mode != QClipboard::Clipboard || owns()) return;
    if (!wayland || !wayland->Owns() || !x11 || !CompositorOwnsX11Clipboard(x11->connection())) {
      std::_Exit(0);
    }
    // The compositor passes the holder's Wayland text on to X11 programs,
    // but only while an X11 window has the focus.
    if (!std::exchange(tookBack, true)) take();
  });

  Ending ending = Ending::Taken;
  std::unique_ptr<QSocketNotifier> programEnd;
  if (program >= 0) {
    // The program waits for this before it goes on.
    if (!WriteAllBytes(1, "ready\n")) std::_Exit(1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    programEnd = std::make_unique<QSocketNotifier>(program, QSocketNotifier::Read);
    QObject::connect(programEnd.get(), &QSocketNotifier::activated, &app, [&] {
      programEnd->setEnabled(false);  // the program sends nothing more
      if (!owns()) std::_Exit(0);
      // Where the compositor refuses the text, the X11 side alone keeps it,
      // with a clipboard manager where one runs.
      if (auto clipboard = WaylandClipboard::Connect(); clipboard && clipboard->Own(text)) {
        wayland = std::make_unique<WaylandSide>(std::move(clipboard), text, owns, &app);
        return;
      }
      if (x11 && SelectionOwner(x11->connection(), "CLIPBOARD_MANAGER") != XCB_NONE) {
        ending = Ending::ToManager;
        QObject::disconnect(clipboard, nullptr, &app, nullptr);  // the manager takes it now
        app.quit();
      }
    });
  }
  app.exec();
  return ending;
}

}  // namespace

int RunClipboardHolder(int argc, char** argv) {
  std::string text;
  if (!ReadHolderFrame(0, text)) return 1;
  if (HoldClipboard(argc, argv, text, 0) == Ending::ToManager) HoldClipboard(argc, argv, text, -1);
  return 0;
}

}  // namespace tabulon
