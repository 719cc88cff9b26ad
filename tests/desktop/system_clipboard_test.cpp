// The clipboard as the window reads it and standard input as the filter
// reads it: the same bytes, bad UTF-8 among them, give the same inside text
// and the same table. The text comes from this process, and under an X
// server (xvfb-run) also from another program, xclip, as on a desktop,
// large texts in INCR chunks.
#include "desktop/desktop.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <chrono>
#include <csignal>
#include <optional>
#include <sstream>
#include <thread>

#include "document/inside_text.h"
#include "filter/filter.h"
#include "table/comment_wrap.h"
#include "table/reader.h"
#include "table/writer.h"

namespace tabulon {
namespace {

// One U+FFFD per bad sequence, however many bytes it has; every good
// character kept.
const std::pair<std::string, std::string> kCases[] = {
    {"a\xE3\x81\tb\n1\t2\n", "a\uFFFD\tb\n1\t2\n"},                // a cut character
    {"\xC0\xAF\t\xED\xA0\x80\n1\t2\n", "\uFFFD\t\uFFFD\n1\t2\n"},  // overlong, surrogate
    {"\x80\x80\t\xFF\n1\t2\n", "\uFFFD\uFFFD\t\uFFFD\n1\t2\n"},    // stray bytes, one each
    {"\xF0\x9F\x98\t\xE8\xA1\xA8\xE8\n1\t2\n", "\uFFFD\t表\uFFFD\n1\t2\n"},
    {"é〜\t😀\n", "é〜\t😀\n"},          // what the code page lacks or writes otherwise
    {"\xEF\xBB\xBFx\ty\n", "x\ty\n"},  // the byte-order mark is no text
};

// The table the window makes of its clipboard text, and the filter's.
std::string WindowTable(const std::string& inside) {
  Document doc;
  SetUpGrid(doc);
  ReadClipboardText(doc, inside);
  WrittenTable table = WriteTable(doc);
  WrapComment(table.lines, table.ruleWidth, WrapStyle::Plain, doc.options);
  std::string text;
  for (const std::string& line : table.lines) (text += line) += '\n';
  return text;
}
std::string FilterTable(const std::string& utf8) {
  std::istringstream in(utf8);
  std::ostringstream out, err;
  EXPECT_EQ(RunFilter({"--input-encoding", "utf-8", "--output-encoding", "utf-8"}, in, out, err),
            0);
  return out.str();
}

// The clipboard text once it is `expected`, or what it was after 5 s. The
// toolkit learns from its events that another program took the clipboard.
std::string ClipboardOnceItIs(const std::string& expected) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  std::string text;
  while ((text = SystemClipboardText()) != expected &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QCoreApplication::processEvents();
  }
  return text;
}

// xclip owning the clipboard with `bytes`, in the foreground; ended by pid.
class XclipOwner {
 public:
  explicit XclipOwner(const std::string& bytes) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[0], 0);
      ::close(fds[1]);
      ::execl("/usr/bin/xclip", "xclip", "-quiet", "-selection", "clipboard", "-i", nullptr);
      ::_exit(127);
    }
    ::close(fds[0]);
    EXPECT_EQ(::write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fds[1]);
  }
  ~XclipOwner() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
};

TEST(SystemClipboard, BadUtf8GivesTheFiltersTextAndTable) {
  const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb") &&
                   ::access("/usr/bin/xclip", X_OK) == 0;
  for (const bool ownText : {true, false}) {
    if (!ownText && !x11) GTEST_SKIP() << "another program's text needs X and /usr/bin/xclip";
    for (const auto& [utf8, inside] : kCases) {
      std::optional<XclipOwner> owner;
      if (ownText) {
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/plain"), QByteArray::fromStdString(utf8));
        QGuiApplication::clipboard()->setMimeData(data);
      } else {
        owner.emplace(utf8);
      }
      EXPECT_EQ(ClipboardOnceItIs(inside), inside) << utf8;
      EXPECT_EQ(WindowTable(SystemClipboardText()), FilterTable(utf8)) << utf8;
    }
  }
  // Megabytes from another program come in chunks, every byte in order.
  std::string large;
  for (int i = 0; large.size() < 3'000'000; ++i) {
    large += std::to_string(i) + "\t\xE8\xA1\xA8\xE3\x81\t\xFF" + (i % 2 ? "\r\n" : "\n");
  }
  const std::string expected = InsideFromUtf8(large);
  XclipOwner owner(large);
  EXPECT_TRUE(ClipboardOnceItIs(expected) == expected);
}

}  // namespace
}  // namespace tabulon

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
