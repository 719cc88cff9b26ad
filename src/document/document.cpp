#include "document/document.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

namespace {

constexpr int kRowHeadingColWidth = 3 * kPixelsPerColumn + kColumnPaddingPx;  // "XXX" + 5

// "  1" to "256", three characters each, made once at compile time.
constexpr auto kRowHeadings = [] {
  std::array<std::array<char, 3>, kRowCount> headings{};
  for (int r = kFirstDataRow; r <= kLastRow; ++r) {
    for (int i = 2, n = r; i >= 0; --i, n /= 10) headings[r][i] = n > 0 ? char('0' + n % 10) : ' ';
  }
  return headings;
}();

// A cell that already holds its text is left alone: the headings are reset
// at every set-up and clear, and are mostly in place.
void SetIfChanged(Grid& g, int col, int row, std::string_view text) {
  const std::string& cell = g.Cell(col, row);
  // Byte by byte: these texts are one to three bytes long.
  if (cell.size() == text.size() && std::equal(text.begin(), text.end(), cell.begin())) return;
  g.SetCell(col, row, std::string(text));
}

}  // namespace

void ResetRowHeadings(Grid& g) {
  for (int r = kFirstDataRow; r <= kLastRow; ++r) {
    SetIfChanged(g, 1, r, std::string_view(kRowHeadings[r].data(), 3));
  }
}

void ResetColumnHeadings(Grid& g) {
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    // "a" to "z", then "1" to "9".
    const char heading = c <= 27 ? static_cast<char>('a' + c - 2) : static_cast<char>('1' + c - 28);
    SetIfChanged(g, c, 0, std::string_view(&heading, 1));
  }
}

void ResetHeadings(Document& doc) {
  doc.grid.Select(kFirstDataCol, kFirstDataRow);
  ResetRowHeadings(doc.grid);
  ResetColumnHeadings(doc.grid);
}

namespace {
int WidestDataCell(const Grid& g, int c, int atLeast) {
  return std::max(atLeast, g.WidestDataCell(c) * kPixelsPerColumn);
}
}  // namespace

void FitColWidth(Document& doc, int c) {
  if (c < 0) return;
  doc.grid.SetColWidth(c, WidestDataCell(doc.grid, c, 2 * kPixelsPerColumn) + kColumnPaddingPx);
}

void WidenColWidth(Document& doc, int c) {
  if (c < 0) return;
  const int whole = (doc.grid.ColWidth(c) / kPixelsPerColumn) * kPixelsPerColumn;
  const int m = std::max(whole, kPixelsPerColumn);
  doc.grid.SetColWidth(c, WidestDataCell(doc.grid, c, m) + kColumnPaddingPx);
}

void ClearTable(Document& doc) {
  Grid& g = doc.grid;
  g.EmptyColumn(0);
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    g.EmptyColumn(c);
    FitColWidth(doc, c);
  }
  doc.CurRow = 0;
  doc.CurCol = 1;
  ResetHeadings(doc);
  doc.options.RestoreDefaults();
  g.ScrollTo(kFirstDataCol, kFirstDataRow);
}

void SetUpGrid(Document& doc) {
  ResetHeadings(doc);
  for (int c = kFirstDataCol; c <= kLastCol; ++c) FitColWidth(doc, c);
  // The recorded cell is left where the width pass over the columns has
  // always left it: the last column's heading.
  doc.CurRow = 0;
  doc.CurCol = kLastCol;
  doc.grid.SetColWidth(0, kHiddenColWidth);
  doc.grid.SetColWidth(1, kRowHeadingColWidth);
  doc.grid.SetCell(1, 0, std::string(kCornerText));
  doc.options.SetTitle("");
}

}  // namespace tabulon
