// Whole reads and writes of a file descriptor, going on after signals: the
// one loop of each that files, pipes and the clipboard's transfers share.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

// Writes every byte to a file descriptor, going on after signals; false on
// an error, with errno set.
bool WriteAllBytes(int fd, std::string_view bytes);

// The same for a non-blocking descriptor whose reader may stop reading:
// false too when not every byte is written before `deadline`.
bool WriteBefore(int fd, std::string_view bytes, std::chrono::steady_clock::time_point deadline);

// Reads a file descriptor to its end into `out`: Failed on an error (errno
// set), TooLarge once more than `limit` bytes have come, and with
// `patience`, TimedOut when that long passes without a byte or the end.
enum class ReadOutcome { Ok, Failed, TooLarge, TimedOut };
ReadOutcome ReadAllBytes(int fd, std::string& out, std::size_t limit,
                         std::optional<std::chrono::milliseconds> patience = std::nullopt);

}  // namespace tabulon
