#include "files/byte_io.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
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

bool WriteBefore(int fd, std::string_view bytes, std::chrono::steady_clock::time_point deadline) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EAGAIN) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 0))) == 0) return false;
    } else if (!(n < 0 && errno == EINTR)) {
      return false;
    }
  }
  return true;
}

ReadOutcome ReadAllBytes(int fd, std::string& out, std::size_t limit,
                         std::optional<std::chrono::milliseconds> patience) {
  char block[1 << 16];
  for (;;) {
    if (patience) {
      pollfd p{fd, POLLIN, 0};
      const int polled = ::poll(&p, 1, static_cast<int>(patience->count()));
      if (polled < 0 && errno == EINTR) continue;
      if (polled < 0) return ReadOutcome::Failed;
      if (polled == 0) return ReadOutcome::TimedOut;
    }
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadOutcome::Failed;
    if (n == 0) return ReadOutcome::Ok;
    if (out.size() + static_cast<std::size_t>(n) > limit) return ReadOutcome::TooLarge;
    out.append(block, static_cast<std::size_t>(n));
  }
}

}  // namespace tabulon
