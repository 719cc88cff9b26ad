// The descriptor loops with a time limit, over pipes: a read gives up on a
// writer that goes quiet, a write on a reader that stops reading.
#include "files/byte_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace tabulon {
namespace {

using namespace std::chrono_literals;

TEST(ByteIo, AReadWithPatienceEndsAtTheEndOrWhenTheWriterGoesQuiet) {
  for (const bool writerCloses : {true, false}) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    EXPECT_TRUE(WriteAllBytes(fds[1], "abc"));
    if (writerCloses) ::close(fds[1]);
    std::string out;
    EXPECT_EQ(ReadAllBytes(fds[0], out, 100, 50ms),
              writerCloses ? ReadOutcome::Ok : ReadOutcome::TimedOut);
    EXPECT_EQ(out, "abc");
    ::close(fds[0]);
    if (!writerCloses) ::close(fds[1]);
  }
}

TEST(ByteIo, AWriteBeforeADeadlineGivesUpOnAReaderThatStopsReading) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  ASSERT_EQ(::fcntl(fds[1], F_SETFL, O_NONBLOCK), 0);
  EXPECT_TRUE(WriteBefore(fds[1], "small", std::chrono::steady_clock::now() + 1s));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(WriteBefore(fds[1], std::string(1 << 20, 'x'), start + 100ms));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  ::close(fds[0]);
  ::close(fds[1]);
}

}  // namespace
}  // namespace tabulon
