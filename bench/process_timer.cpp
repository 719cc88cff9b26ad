// Whole-process timings without a shell in between: runs each command in
// turn, ROUNDS times interleaved, with standard input from INPUT and output
// to /dev/null, and prints for each its median and fastest wall time and its
// peak resident set size. A shell's own fork and exec would add a millisecond
// or more to every run and blur the ratio of two short programs.
//
//   tabulon_process_timer ROUNDS INPUT CMD [ARGS...] [-- CMD [ARGS...]]...
//
// Output, one line per command, in the order given:
//   <median µs> <fastest µs> <peak RSS KiB>
// Exits 1 if a run fails.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Command {
  std::vector<char*> argv;  // null-terminated
  std::vector<long> micros;
  long peakKib = 0;
};

// One run with INPUT on standard input; false when it fails to start or
// exits with a status other than 0.
bool RunOnce(Command& c, const char* input) {
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, input, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid;
  const int rc = posix_spawnp(&pid, c.argv[0], &fa, nullptr, c.argv.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  const auto end = std::chrono::steady_clock::now();
  c.micros.push_back(static_cast<long>(
      std::chrono::duration_cast<std::chrono::microseconds>(end - start).count()));
  c.peakKib = std::max(c.peakKib, usage.ru_maxrss);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

long Median(std::vector<long> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: tabulon_process_timer ROUNDS INPUT CMD [ARGS...] [-- CMD [ARGS...]]...\n",
               stderr);
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const char* input = argv[2];
  std::vector<Command> commands(1);
  for (int i = 3; i < argc; ++i) {
    if (std::string(argv[i]) == "--") {
      commands.emplace_back();
      continue;
    }
    commands.back().argv.push_back(argv[i]);
  }
  for (Command& c : commands) {
    if (c.argv.empty()) {
      std::fputs("tabulon_process_timer: an empty command\n", stderr);
      return 2;
    }
    c.argv.push_back(nullptr);
  }
  // One unmeasured round warms the page cache and the loader's.
  for (int round = -1; round < rounds; ++round) {
    for (Command& c : commands) {
      if (!RunOnce(c, input)) {
        std::fprintf(stderr, "tabulon_process_timer: %s failed\n", c.argv[0]);
        return 1;
      }
      if (round < 0) c.micros.clear();
    }
  }
  for (const Command& c : commands) {
    std::printf("%ld %ld %ld\n", Median(c.micros),
                *std::min_element(c.micros.begin(), c.micros.end()), c.peakKib);
  }
  return 0;
}
