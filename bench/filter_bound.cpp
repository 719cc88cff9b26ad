// The bound for whole-run timings of tabulon-filter: about the least a C++
// program can do to make the same table. It reads standard input (UTF-8 tab
// text), converts it to CP932 with the same codec, cuts it into at most 256
// rows of 35 fields, measures the columns, and writes a box-ruled table of
// the same shape as `tabulon-filter --title T --rules box`: a title, a
// heading row and a row-number column, a rule under every row, at most 99
// columns wide, converted back to UTF-8. No grid, no options, no reader: what
// is left is starting, converting and writing.
#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "document/codec.h"

namespace {

constexpr int kRows = 256;
constexpr int kFields = 35;
constexpr int kMaxWidth = 99;
constexpr std::string_view kVertical = "\x84\xa0";

std::string Rule(const std::vector<int>& widths, std::string_view left, std::string_view cross,
                 std::string_view right) {
  std::string line(left);
  for (std::size_t c = 0; c < widths.size(); ++c) {
    for (int i = 0; i + 1 < widths[c]; i += 2) line += "\x84\x9f";  // ─
    if (widths[c] % 2) line += '-';
    line += c + 1 < widths.size() ? cross : right;
  }
  return line;
}

std::string Row(const std::vector<int>& widths, const std::vector<std::string_view>& cells) {
  std::string line(kVertical);
  for (std::size_t c = 0; c < widths.size(); ++c) {
    const std::string_view cell =
        c < cells.size() ? cells[c].substr(0, static_cast<std::size_t>(widths[c])) : "";
    line += cell;
    line.append(static_cast<std::size_t>(widths[c]) - std::min<std::size_t>(cell.size(), widths[c]),
                ' ');
    line += kVertical;
  }
  return line;
}

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  std::string in;
  char buf[1 << 16];
  for (std::streamsize n; (n = std::cin.rdbuf()->sgetn(buf, sizeof buf)) > 0;) {
    in.append(buf, static_cast<std::size_t>(n));
  }
  const std::string text = tabulon::Utf8ToCp932(in);

  // Rows of fields, and the width of each column.
  std::vector<std::vector<std::string_view>> rows;
  std::array<int, kFields> widest{};
  std::string_view rest = text;
  while (!rest.empty() && rows.size() < kRows) {
    const std::size_t eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 1);
    auto& fields = rows.emplace_back(1, "");  // the row-number column
    for (int f = 0; f < kFields; ++f) {
      const std::size_t tab = line.find('\t');
      fields.push_back(line.substr(0, tab));
      widest[f] = std::max(widest[f], static_cast<int>(fields.back().size()));
      if (tab == std::string_view::npos) break;
      line.remove_prefix(tab + 1);
    }
  }

  // The columns that fit the line, each at least two wide, the last one cut
  // to what is left.
  std::vector<int> widths = {4};
  int total = 2 + 4 + 2;
  for (int w : widest) {
    w = std::min(std::max(w, 2), kMaxWidth - total - 2);
    if (w < 2) break;
    widths.push_back(w);
    total += w + 2;
  }

  std::vector<std::string> lines;
  lines.push_back(Rule({total - 4}, "\x84\xa1", "", "\x84\xa2"));  // ┌ ┐
  lines.push_back(Row({total - 4}, {"Plan"}));
  lines.push_back(Rule(widths, "\x84\xa5", "\x84\xa6", "\x84\xa7"));  // ├ ┬ ┤
  std::vector<std::string> headings;
  for (std::size_t c = 0; c < widths.size(); ++c) headings.emplace_back(1, char('a' + c % 26));
  lines.push_back(Row(widths, {headings.begin(), headings.end()}));
  char number[12];
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    lines.push_back(Rule(widths, "\x84\xa5", "\x84\xa9", "\x84\xa7"));  // ├ ┼ ┤
    std::snprintf(number, sizeof number, "%4d", r + 1);
    rows[r][0] = number;
    lines.push_back(Row(widths, rows[r]));
  }
  lines.push_back(Rule(widths, "\x84\xa4", "\x84\xa8", "\x84\xa3"));  // └ ┴ ┘

  for (const std::string& line : lines) std::cout << tabulon::Cp932ToUtf8(line) << '\n';
  std::cout.flush();
  return std::cout ? 0 : 1;
}
