// The descriptor loops over pipes: a read waits for the end, or gives up on
// a writer that goes quiet; a write with a deadline gives up on a reader
// that stops reading.
#include "files/byte_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace tabulon {
namespace {

using namespace std::chrono_literals;

struct Pipe {
  int read = -1, write = -1;
  Pipe() {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    read = fds[0];
    write = fds[1];
  }
  ~Pipe() {
    ::close(read);
    if (write >= 0) ::close(write);
  }
  void CloseWrite() {
    ::close(write);
    write = -1;
  }
};

TEST(ByteIo, AReadWithPatienceEndsAtTheEndAtTheLimitOrWhenTheWriterGoesQuiet) {
  const std::string large(200'000, 'x');  // more than a pipe holds at once
  {
    Pipe pipe;
    std::thread writer([&] {
      EXPECT_TRUE(WriteAllBytes(pipe.write, large));
      pipe.CloseWrite();
    });
    std::string out;
    EXPECT_EQ(ReadAllBytes(pipe.read, out, large.size(), 2000ms), ReadOutcome::Ok);
    writer.join();
    EXPECT_EQ(out, large);
  }
  {
    Pipe pipe;
    EXPECT_TRUE(WriteAllBytes(pipe.write, "abc"));
    pipe.CloseWrite();
    std::string out;
    EXPECT_EQ(ReadAllBytes(pipe.read, out, 2, 2000ms), ReadOutcome::TooLarge);
  }
  {
    Pipe pipe;  // open, with some bytes and then none
    EXPECT_TRUE(WriteAllBytes(pipe.write, "abc"));
    std::string out;
    EXPECT_EQ(ReadAllBytes(pipe.read, out, 100, 50ms), ReadOutcome::TimedOut);
    EXPECT_EQ(out, "abc");
  }
}

TEST(ByteIo, AWriteBeforeADeadlineGivesUpOnAReaderThatStopsReading) {
  const std::string large(1 << 20, 'x');
  Pipe pipe;
  ASSERT_EQ(::fcntl(pipe.write, F_SETFL, O_NONBLOCK), 0);
  EXPECT_TRUE(WriteBefore(pipe.write, "small", std::chrono::steady_clock::now() + 1s));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(WriteBefore(pipe.write, large, start + 100ms));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

}  // namespace
}  // namespace tabulon
