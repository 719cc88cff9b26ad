// Whole reads and writes of a file descriptor, going on after signals: the
// one loop of each that files, pipes and the clipboard's transfers share.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon {

// Writes every byte to a file descriptor, going on after signals; false on
// an error, with errno set.
bool WriteAllBytes(int fd, std::string_view bytes);

// Reads a file descriptor to its end into `out`: Failed on an error (errno
// set), TooLarge once more than `limit` bytes have come.
enum class ReadOutcome { Ok, Failed, TooLarge };
ReadOutcome ReadAllBytes(int fd, std::string& out, std::size_t limit);

}  // namespace tabulon
