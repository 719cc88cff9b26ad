#include "table/format.h"

#include <algorithm>
#include <iterator>

#include "document/text_columns.h"

namespace tabulon {

namespace {

// How a ruled table's first line begins in each of the program's wraps (the
// box corner's wraps also hold its mark alone).
constexpr std::string_view kTableStarts[] = {"+-^-", "{-^-", "/*^-",  "'+-^-",
                                             "┌^-",  "{┌^-", "/*┌^-", "'┌^-"};

constexpr std::size_t kMarkerSize = 8;  // "^--tcr-^"

}  // namespace

std::string MakeBoxRule(int n) {
  std::string out;
  if (n <= 0) return out;
  // "─" is two columns, in the code page as in any Japanese font; one under
  // the narrow rule, as terminals draw it.
  const int each = Columns(box::Horizontal);
  out.reserve(static_cast<std::size_t>(n / each) * box::Horizontal.size() + 1);
  for (int i = 0; i < n / each; ++i) out.append(box::Horizontal);
  if (n % each != 0) out.push_back('-');
  return out;
}

std::string LayoutMarker(const TableLayout& layout) {
  std::string m = "^--";
  m.push_back(layout.title ? '-' : '=');
  m.push_back(layout.columnHeadings ? '=' : '-');
  m.push_back(layout.rowHeadings ? '=' : '-');
  m += "-^";
  return m;
}

TableLayout LayoutOfTopLine(std::string_view line) {
  TableLayout layout;
  // Each "^--" where a character begins; the next is looked for right after
  // its "^", which is a character of its own.
  for (std::size_t at = FindText(line, "^--"); at != std::string_view::npos;
       at = FindText(line, "^--", at + 1)) {
    const std::string_view m = line.substr(at, kMarkerSize);
    const auto flag = [](char ch) { return ch == '-' || ch == '='; };
    if (m.size() < kMarkerSize || !m.ends_with("-^") || !flag(m[3]) || !flag(m[4]) ||
        !flag(m[5])) {
      continue;
    }
    layout.title = layout.title || m[3] == '-';
    layout.columnHeadings = layout.columnHeadings || m[4] == '=';
    layout.rowHeadings = layout.rowHeadings || m[5] == '=';
  }
  return layout;
}

std::size_t LayoutMarkerAt(std::string_view line) {
  // Counted as the code page counts, so that the marker after a box corner
  // stands where it does whichever rule the table was written under.
  const WidthRuleScope byCodePage(WidthRule::Wide);
  const std::size_t at = FindText(line, "^-");
  return at == std::string_view::npos ? at : static_cast<std::size_t>(ColumnAtByte(line, at));
}

bool BeginsTableTop(std::string_view text) {
  return std::any_of(std::begin(kTableStarts), std::end(kTableStarts),
                     [text](std::string_view start) { return text.starts_with(start); });
}

bool IsGeneratedTableTop(std::string_view line0) {
  return std::any_of(std::begin(kTableStarts), std::end(kTableStarts),
                     [line0](std::string_view start) { return ContainsText(line0, start); });
}

}  // namespace tabulon
