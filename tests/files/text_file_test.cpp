#include "files/text_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>

#include "support/text.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

TEST(SaveFileName, ExtensionBecomesTxt) {
  EXPECT_EQ(SaveFileName("/d/table"), "/d/table.TXT");
  EXPECT_EQ(SaveFileName("/d/table.txt"), "/d/table.TXT");
  EXPECT_EQ(SaveFileName("/d/table.csv"), "/d/table.TXT");
  EXPECT_EQ(SaveFileName("/d/a.b.c"), "/d/a.b.TXT");
  EXPECT_EQ(SaveFileName("/d.old/table"), "/d.old/table.TXT");  // a dot in a folder is no extension
}

TEST(TextFile, LineBreaksAllBecomeCrLf) {
  EXPECT_EQ(NormalizeLineBreaks("a\rb\nc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
  EXPECT_EQ(JoinLinesCrLf({"x", ""}), "x\r\n\r\n");
}

class TextFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tabulon_text_file_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path dir;
};

TEST_F(TextFileOnDisk, SaveReplacesAndLeavesNoTemporaryFile) {
  const std::string path = (dir / "t.TXT").string();
  ASSERT_TRUE(SaveTextFile(path, "old\r\n").ok);
  ASSERT_TRUE(SaveTextFile(path, "\x95\x5c\r\n").ok);
  EXPECT_EQ(Read(path), "\x95\x5c\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(TextFileOnDisk, FailedSaveNamesTheFileAndKeepsWhatWasThere) {
  const std::string missing = (dir / "no" / "t.TXT").string();
  const FileResult r = SaveTextFile(missing, "x");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "ファイル \"" + missing + "\". No such file or directory を作成できません");
  // A folder where the file should go: the rename fails, the folder stays.
  fs::create_directories(dir / "t.TXT" / "inside");
  EXPECT_FALSE(SaveTextFile((dir / "t.TXT").string(), "x").ok);
  EXPECT_TRUE(fs::is_directory(dir / "t.TXT" / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(TextFileOnDisk, SavePathFindsTheSameNameInOtherCase) {
  std::ofstream(dir / "table.txt") << "old";
  EXPECT_EQ(SavePath((dir / "table.txt").string()), (dir / "table.txt").string());
  EXPECT_EQ(SavePath((dir / "table.csv").string()), (dir / "table.txt").string());
  EXPECT_EQ(SavePath((dir / "Table.csv").string()),
            (dir / "Table.TXT").string());  // the name's case counts
  EXPECT_EQ(SavePath((dir / "other").string()), (dir / "other.TXT").string());
  std::ofstream(dir / "table.TXT") << "old";  // the exact name comes first
  EXPECT_EQ(SavePath((dir / "table.txt").string()), (dir / "table.TXT").string());
}

TEST_F(TextFileOnDisk, SaveOverAFileKeepsItsModeAndLinkAndAFailedWriteKeepsTheOldText) {
  const fs::path file = dir / "t.TXT", link = dir / "link.TXT";
  std::ofstream(file) << "old";
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(file, link);
  ASSERT_TRUE(SaveTextFile(link.string(), "new\r\n").ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(file), "new\r\n");
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // The disk refuses the rest of the text after 4 bytes: the file keeps its
  // old text and no part-written file stays beside it.
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const FileResult r = SaveTextFile(file.string(), std::string(100, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "ファイル \"" + file.string() + "\". File too large を作成できません");
  EXPECT_EQ(Read(file), "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(TextFileOnDisk, SaveWritesAFileWithOtherNamesInPlace) {
  const fs::path file = dir / "t.TXT", other = dir / "other.TXT", dangling = dir / "new.TXT";
  std::ofstream(file) << "old";
  fs::create_hard_link(file, other);
  ASSERT_TRUE(SaveTextFile(file.string(), "new").ok);
  EXPECT_EQ(Read(other), "new");
  fs::create_symlink("made.TXT", dangling);  // a link to a file not yet there
  ASSERT_TRUE(SaveTextFile(dangling.string(), "x").ok);
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(Read(dir / "made.TXT"), "x");
}

TEST_F(TextFileOnDisk, AFileThatMayNotBeWrittenIsRefusedAndKept) {
  const fs::path file = dir / "t.TXT";
  std::ofstream(file) << "old";
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir, fs::perms::all);
  // A read-only file of one's own: root may write any file, so the save is
  // tried as nobody, owning it.
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
  }
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    const FileResult r = SaveTextFile(file.string(), "new");
    ::_exit(r.ok                                                                      ? 1
            : r.error.find("Permission denied を作成できません") == std::string::npos ? 2
                                                                                      : 0);
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  EXPECT_EQ(Read(file), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(TextFileOnDisk, LoadRefusesMissingAndOversizedFiles) {
  const FileResult missing = LoadTextFile((dir / "none.TXT").string());
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("は開けません"), std::string::npos);
  std::ofstream((dir / "big.TXT")) << std::string(100, 'x');
  const FileResult big = LoadTextFile((dir / "big.TXT").string(), 99);
  EXPECT_TRUE(big.tooLarge);
  EXPECT_EQ(big.error, "文字列の大きさがメモの制限を越えました");
  EXPECT_TRUE(LoadTextFile((dir / "big.TXT").string(), 100).ok);
  EXPECT_FALSE(LoadTextFile(dir.string()).ok);  // a folder is no file
}

TEST_F(TextFileOnDisk, LoadRefusesWhatIsNoRegularFileWithoutWaiting) {
  const fs::path fifo = dir / "fifo.TXT";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, std::string> cases[] = {
      {dir.string(), "Is a directory"},
      {"/dev/null", "Operation not supported"},
      {fifo.string(), "Operation not supported"},  // no writer: an open that waited would hang
  };
  for (const auto& [path, reason] : cases) {
    // In a child that an alarm ends, so that a load that blocks fails the
    // test instead of hanging it.
    const pid_t child = ::fork();
    if (child == 0) {
      ::alarm(10);
      const FileResult r = LoadTextFile(path);
      ::_exit(!r.ok && !r.tooLarge &&
                      r.error == "ファイル \"" + path + "\". " + reason + " は開けません"
                  ? 0
                  : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << path << " status " << status;
  }
}

TEST_F(TextFileOnDisk, SaveOverALinkLoopFailsAndKeepsTheLinks) {
  const fs::path self = dir / "self.TXT", a = dir / "a.TXT", b = dir / "b.TXT";
  fs::create_symlink("self.TXT", self);
  fs::create_symlink("b.TXT", a);
  fs::create_symlink("a.TXT", b);
  for (const fs::path& link : {self, a}) {
    const FileResult r = SaveTextFile(link.string(), "x\r\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "ファイル \"" + link.string() +
                           "\". Too many levels of symbolic links を作成できません");
  }
  EXPECT_EQ(fs::read_symlink(self), "self.TXT");
  EXPECT_EQ(fs::read_symlink(a), "b.TXT");
  EXPECT_EQ(fs::read_symlink(b), "a.TXT");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
}

TEST(ReadLoadedText, RulesOffUnlessTheMarkerStartsAtColumnThree) {
  for (const auto& [first, ruled] :
       std::vector<std::pair<std::string, bool>>{{"+-^--=---^-+", true},
                                                 {"{-^--=---^-+", true},
                                                 {"/*^--=---^-+", true},
                                                 {"    // +-^--=---^-+", true},  // kept in code
                                                 {"| a |\r\n|---|", true},       // Markdown
                                                 {"'+-^--=---^-+", false},
                                                 {"x\ty", false}}) {
    Document doc;
    SetUpGrid(doc);
    doc.options.SetChecked(Option::Trim, true);
    ReadLoadedText(doc, first + "\r\n|ab|\r\n+--+\r\n");
    EXPECT_EQ(doc.options.Checked(Option::Ruled), ruled) << first;
  }
}

}  // namespace
}  // namespace tabulon
