#include "files/byte_io.h"

#include <unistd.h>

#include <cerrno>

namespace tabulon {

bool WriteAllBytes(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

ReadOutcome ReadAllBytes(int fd, std::string& out, std::size_t limit) {
  char block[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadOutcome::Failed;
    if (n == 0) return ReadOutcome::Ok;
    if (out.size() + static_cast<std::size_t>(n) > limit) return ReadOutcome::TooLarge;
    out.append(block, static_cast<std::size_t>(n));
  }
}

}  // namespace tabulon
