#include "document/document.h"

#include <algorithm>
#include <cstdio>

namespace tabulon {

namespace {
constexpr int kRowHeadingColWidth = 3 * kPixelsPerByte + kColumnPaddingPx;  // "XXX" + 5
}

void ResetRowHeadings(Grid& g) {
  char buf[8];
  for (int r = kFirstDataRow; r <= kLastRow; ++r) {
    std::snprintf(buf, sizeof buf, "%3d", r);
    g.SetCell(1, r, buf);
  }
}

void ResetColumnHeadings(Grid& g) {
  for (int c = kFirstDataCol; c <= 27; ++c) g.SetCell(c, 0, std::string(1, char(0x60 + c - 1)));
  for (int c = 28; c <= kLastCol; ++c) g.SetCell(c, 0, std::to_string(c - 27));
}

void ResetHeadings(Document& doc) {
  doc.grid.Select(kFirstDataCol, kFirstDataRow);
  ResetRowHeadings(doc.grid);
  ResetColumnHeadings(doc.grid);
}

namespace {
int WidestDataCell(const Grid& g, int c, int atLeast) {
  int m = atLeast;
  for (int r = kFirstDataRow; r <= kLastRow; ++r) m = std::max(m, TextPixelWidth(g.Cell(c, r)));
  return m;
}
}  // namespace

void FitColWidth(Document& doc, int c) {
  if (c < 0) return;
  doc.grid.SetColWidth(c, WidestDataCell(doc.grid, c, 2 * kPixelsPerByte) + kColumnPaddingPx);
}

void WidenColWidth(Document& doc, int c) {
  if (c < 0) return;
  const int whole = (doc.grid.ColWidth(c) / kPixelsPerByte) * kPixelsPerByte;
  const int m = std::max(whole, kPixelsPerByte);
  doc.grid.SetColWidth(c, WidestDataCell(doc.grid, c, m) + kColumnPaddingPx);
}

void ClearTable(Document& doc) {
  Grid& g = doc.grid;
  for (int r = 0; r <= kLastRow; ++r) g.SetCell(0, r, "");
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    for (int r = 0; r <= kLastRow; ++r) g.SetCell(c, r, "");
    doc.CurCol = c;
    FitColWidth(doc, c);
  }
  doc.CurRow = 0;
  doc.CurCol = 1;
  ResetHeadings(doc);
  doc.options.RestoreDefaults();
  g.ScrollTo(kFirstDataCol, kFirstDataRow);
}

void SetUpGrid(Document& doc) {
  doc.TableLines.clear();
  doc.CurRow = 0;
  doc.CurCol = 1;
  ResetHeadings(doc);
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    doc.CurCol = c;
    FitColWidth(doc, c);
  }
  doc.grid.SetColWidth(0, kHiddenColWidth);
  doc.grid.SetColWidth(1, kRowHeadingColWidth);
  doc.grid.SetCell(1, 0, std::string(kCornerText));
  doc.options.SetTitle("");
}

}  // namespace tabulon
