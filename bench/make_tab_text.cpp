// Writes the benchmarks' tab text (UTF-8) to standard output, for timing
// whole program runs: make_tab_text [LINES [FIELDS [EMPTY_PERCENT [MAX_BYTES]]]].
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_text.h"

int main(int argc, char** argv) {
  tabulon::bench::TabTextShape shape;
  auto arg = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
  shape.lines = arg(1, 256);
  shape.fields = arg(2, 35);
  shape.emptyPercent = arg(3, 0);
  shape.maxBytes = arg(4, 12);
  if (shape.lines < 1 || shape.fields < 1 || shape.emptyPercent < 0 || shape.emptyPercent > 100 ||
      shape.maxBytes < 1) {
    std::fputs("usage: make_tab_text [LINES [FIELDS [EMPTY_PERCENT [MAX_BYTES]]]]\n", stderr);
    return 2;
  }
  const std::string text = tabulon::bench::MakeTabTextUtf8(shape);
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
