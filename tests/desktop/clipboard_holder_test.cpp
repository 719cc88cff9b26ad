// The pipe between the program and its clipboard holder: texts come through
// whole and in order, whatever their bytes and size; a broken or cut pipe
// gives no text.
#include "desktop/clipboard_holder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

namespace tabulon {
namespace {

// What the holder reads from a pipe into which `bytes` were written, the
// writer closing it then; one entry per text read, until a read fails.
std::vector<std::string> ReadAll(const std::string& bytes) {
  int pipeFds[2];
  EXPECT_EQ(::pipe(pipeFds), 0);
  std::thread writer([&] {
    EXPECT_EQ(::write(pipeFds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(pipeFds[1]);
  });
  std::vector<std::string> texts;
  for (std::string text; ReadHolderFrame(pipeFds[0], text);) texts.push_back(text);
  writer.join();
  ::close(pipeFds[0]);
  return texts;
}

TEST(HolderFrame, TextsComeThroughWholeAndInOrder) {
  const std::vector<std::string> texts = {
      "", "+-^-+\r\n|a|\r\n", std::string("nul\0\n12\n", 8), std::string(300'000, 'x')};
  std::string bytes;
  for (const std::string& text : texts) bytes += HolderFrameHead(text.size()) + text;
  EXPECT_EQ(ReadAll(bytes), texts);
}

TEST(HolderFrame, ABrokenCountOrACutTextGivesNothing) {
  for (const char* bytes : {"", "12", "x\nab", "\nab", "-1\na", "+1\na", "1 \na", "3\nab",
                            "99999999999999999999\na"}) {
    EXPECT_TRUE(ReadAll(bytes).empty()) << bytes;
  }
  EXPECT_EQ(ReadAll("2\nab2\nc"), std::vector<std::string>{"ab"});
}

}  // namespace
}  // namespace tabulon
