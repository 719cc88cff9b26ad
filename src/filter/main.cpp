#include <sys/stat.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "filter/filter.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  // An editor's filter command may send both streams into the text it
  // replaces (a terminal shows both and is no such case).
  struct stat out {
  }, err{};
  const bool errIsOut = !isatty(1) && fstat(1, &out) == 0 && fstat(2, &err) == 0 &&
                        out.st_dev == err.st_dev && out.st_ino == err.st_ino;
  return tabulon::RunFilter(args, std::cin, std::cout, std::cerr, errIsOut);
}
