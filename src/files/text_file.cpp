#include "files/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "document/codec.h"
#include "document/inside_text.h"
#include "table/format.h"
#include "table/reader.h"

namespace tabulon {

namespace {

std::string Message(const std::string& path, int error, const char* tail) {
  return "ファイル \"" + path + "\". " + std::strerror(error) + " " + tail;
}

// The file that `path` names, following symbolic links, also to a file that
// does not exist yet; `path` itself when it is no link.
std::string LinkTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n <= 0) break;
    link.resize(static_cast<std::size_t>(n));
    const std::size_t slash = target.rfind('/');
    if (link[0] != '/' && slash != std::string::npos) link.insert(0, target, 0, slash + 1);
    target = std::move(link);
  }
  return target;
}

// Writes every byte to the disk and closes the file: 0, or the first error.
int WriteSyncAndClose(int fd, std::string_view bytes) {
  int error = WriteAllBytes(fd, bytes) && ::fsync(fd) == 0 ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace

std::string SaveFileName(std::string_view chosen) {
  const std::size_t slash = chosen.rfind('/');
  const std::size_t dot = chosen.rfind('.');
  const bool hasExtension =
      dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  return std::string(hasExtension ? chosen.substr(0, dot) : chosen) + ".TXT";
}

std::string SavePath(std::string_view chosen) {
  const std::filesystem::path path = SaveFileName(chosen);
  std::error_code error;
  if (std::filesystem::exists(path, error)) return path.string();
  // The same name with ".txt" in other letter case ("table.txt", "table.Txt").
  const std::string name = path.filename().string();
  const std::size_t stem = name.size() - 3;
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string other = it->path().filename().string();
    const auto sameLetter = [](char a, char b) { return (a | 0x20) == (b | 0x20); };
    if (other.size() == name.size() && other.compare(0, stem, name, 0, stem) == 0 &&
        std::equal(other.begin() + static_cast<long>(stem), other.end(),
                   name.begin() + static_cast<long>(stem), sameLetter)) {
      return (path.parent_path() / other).string();
    }
  }
  return path.string();
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string NormalizeLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      out += "\r\n";
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += ch;
    }
  }
  return out;
}

FileResult SaveTextFile(const std::string& path, std::string_view bytes) {
  FileResult result;
  const auto fail = [&](int error) {
    result.error = Message(path, error, "を作成できません");
    return result;
  };
  // Saving over a file is writing into it: a link keeps naming the file it
  // names, the file keeps its owner and permissions, and a file that may not
  // be written is refused.
  const std::string target = LinkTarget(path);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  // A link that leads only into links (a loop) names no file to write: it
  // is refused and stays as it is.
  if (!exists && errno != ENOENT) return fail(errno);
  if (exists && ::access(target.c_str(), W_OK) != 0) return fail(errno);

  // Written beside the target and renamed over it, so that a failure leaves
  // the old file whole. A file with other names (hard links), or one whose
  // owner the new file could not be given, is written in place instead.
  if (!exists || existing.st_nlink <= 1) {
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(errno);
    if (!exists || ::fchown(fd, existing.st_uid, existing.st_gid) == 0) {
      // A new file gets the permissions a newly created file would get.
      const mode_t mask = ::umask(0);
      ::umask(mask);
      ::fchmod(fd, exists ? existing.st_mode & 0777 : 0666 & ~mask);
      int error = WriteSyncAndClose(fd, bytes);
      if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
      if (error != 0) {
        ::unlink(temp.c_str());
        return fail(error);
      }
      result.ok = true;
      return result;
    }
    ::close(fd);
    ::unlink(temp.c_str());
  }
  const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  if (const int error = WriteSyncAndClose(fd, bytes); error != 0) return fail(error);
  result.ok = true;
  return result;
}

FileResult LoadTextFile(const std::string& path, std::size_t limit) {
  FileResult result;
  const char* const tail = "は開けません";
  // Opened without waiting, so that a FIFO without a writer or a terminal
  // cannot hold the window; only a regular file is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    result.error = Message(path, errno, tail);
    return result;
  }
  struct stat st {};
  const int statError = ::fstat(fd, &st) == 0 ? 0 : errno;
  if (statError != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    const int error = statError != 0 ? statError : S_ISDIR(st.st_mode) ? EISDIR : EOPNOTSUPP;
    result.error = Message(path, error, tail);
    return result;
  }
  const ReadOutcome read = ReadAllBytes(fd, result.text, limit);
  const int readError = errno;
  ::close(fd);
  if (read == ReadOutcome::Ok) {
    result.ok = true;
    return result;
  }
  result.text.clear();
  result.tooLarge = read == ReadOutcome::TooLarge;
  result.error = result.tooLarge ? kTooLargeError : Message(path, readError, tail);
  return result;
}

std::string InsideFromFileText(std::string_view bytes, Replacements& replaced) {
  const std::string_view text = WithoutUtf8Bom(bytes);
  if (text.size() == bytes.size() && !IsValidUtf8(bytes)) return InsideFromCp932(bytes, replaced);
  return InsideFromUtf8(text, replaced);
}

std::string Utf8FileText(std::string_view insideCrLf) {
  std::string lf;
  const std::string utf8 = Utf8FromInside(insideCrLf);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8.compare(i, 2, "\r\n") != 0) lf += utf8[i];
  }
  return lf;
}

void ReadLoadedText(Document& doc, std::string_view text) {
  ClearTable(doc);
  std::string_view first = text.substr(0, text.find_first_of("\r\n"));
  first.remove_prefix(TablePrefix(first).size());  // a table kept in code
  // Only a top line whose layout marker follows the corner at once keeps
  // the title and the ruled lines.
  if (LayoutMarkerAt(first) != 2) {
    doc.options.SetChecked(Option::Title, false);
    doc.options.SetChecked(Option::Ruled, false);
  }
  SetUpGrid(doc);
  ReadClipboardText(doc, text);
}

}  // namespace tabulon
