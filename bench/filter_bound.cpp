// The bound for whole-run timings of tabulon-filter: about the least a C++
// program can do to make the same table. It reads standard input (UTF-8 tab
// text) and keeps it as it is, cuts it into at most 256 rows of 35 fields,
// measures each field's display columns as the filter does, and writes a
// box-ruled table of the same shape as `tabulon-filter --title T --rules
// box`, in UTF-8: a title, a heading row and a row-number column, a rule
// under every row, at most 99 columns wide, each cell cut to its column by
// whole characters and padded by columns. No grid, no options, no reader, no
// check of the UTF-8: what is left is starting, measuring and writing.
#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "document/text_columns.h"
#include "document/width.h"

namespace {

constexpr int kRows = 256;
constexpr int kFields = 35;
constexpr int kMaxWidth = 99;
constexpr std::string_view kVertical = "│";

// A field and its columns, measured once.
struct Field {
  std::string_view text;
  int columns = 0;
};

// "─" takes two columns, as the code page has it; an odd width ends in "-".
std::string Rule(const std::vector<int>& widths, std::string_view left, std::string_view cross,
                 std::string_view right) {
  std::string line(left);
  for (std::size_t c = 0; c < widths.size(); ++c) {
    for (int i = 0; i + 1 < widths[c]; i += 2) line += "─";
    if (widths[c] % 2) line += '-';
    line += c + 1 < widths.size() ? cross : right;
  }
  return line;
}

std::string Row(const std::vector<int>& widths, const std::vector<Field>& cells) {
  std::string line(kVertical);
  for (std::size_t c = 0; c < widths.size(); ++c) {
    Field cell = c < cells.size() ? cells[c] : Field{};
    if (cell.columns > widths[c]) {
      cell.text = tabulon::CutToColumns(cell.text, widths[c]);
      cell.columns = tabulon::Columns(cell.text);
    }
    line += cell.text;
    line.append(static_cast<std::size_t>(widths[c] - cell.columns), ' ');
    line += kVertical;
  }
  return line;
}

Field Ascii(std::string_view text) {
  return {text, static_cast<int>(text.size())};
}

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  std::string text;
  char buf[1 << 16];
  for (std::streamsize n; (n = std::cin.rdbuf()->sgetn(buf, sizeof buf)) > 0;) {
    text.append(buf, static_cast<std::size_t>(n));
  }

  // Rows of fields, and the width of each column.
  std::vector<std::vector<Field>> rows;
  std::array<int, kFields> widest{};
  std::string_view rest = text;
  while (!rest.empty() && rows.size() < kRows) {
    const std::size_t eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 1);
    auto& fields = rows.emplace_back(1);  // the row-number column
    for (int f = 0; f < kFields; ++f) {
      const std::size_t tab = line.find('\t');
      const std::string_view field = line.substr(0, tab);
      fields.push_back({field, static_cast<int>(tabulon::TextColumns(field))});
      widest[f] = std::max(widest[f], fields.back().columns);
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
  lines.push_back(Rule({total - 4}, "┌", "", "┐"));
  lines.push_back(Row({total - 4}, {Ascii("Plan")}));
  lines.push_back(Rule(widths, "├", "┬", "┤"));
  std::vector<std::string> letters;
  for (std::size_t c = 0; c < widths.size(); ++c) letters.emplace_back(1, char('a' + c % 26));
  std::vector<Field> headings;
  for (const std::string& letter : letters) headings.push_back(Ascii(letter));
  lines.push_back(Row(widths, headings));
  char number[12];
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    lines.push_back(Rule(widths, "├", "┼", "┤"));
    std::snprintf(number, sizeof number, "%4d", r + 1);
    rows[r][0] = Ascii(number);
    lines.push_back(Row(widths, rows[r]));
  }
  lines.push_back(Rule(widths, "└", "┴", "┘"));

  for (const std::string& line : lines) std::cout << line << '\n';
  std::cout.flush();
  return std::cout ? 0 : 1;
}
