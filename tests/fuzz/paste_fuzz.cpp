// Fuzz target: "貼り付け" of arbitrary bytes at an arbitrary recorded cell and
// selection, over whatever earlier runs left in the grid. The paste must write
// only where its reading allows, lose no pasted text that fits, only widen
// columns in a block paste, and leave a grid the writer can lay out.
//
// Input: 7 header bytes, then the clipboard text.
//   0 CurCol -1..38          1 CurRow -1..126 or 130..257
//   2, 3 selection anchor    4, 5 selection's current cell (any grid cell)
//   6 a snapped width (6n+5, n 1..8) for one data column, as a border drag gives
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/cp932.h"
#include "document/document.h"
#include "invariants.h"
#include "table/paste.h"
#include "table/reader.h"
#include "table/writer.h"

namespace {

using namespace tabulon;

using tabulon::fuzz::Check;

constexpr std::size_t kHeader = 7;

int RowFrom(std::uint8_t b) {
  return (b & 0x80) ? kLastRow + 1 - (b & 0x7f) : (b & 0x7f) - 1;
}

// The columns and rows a paste of this kind may write to.
CellBlock Writable(const Document& doc, PasteKind kind) {
  switch (kind) {
    case PasteKind::Nothing:
      return {};
    case PasteKind::Lines:
      return {doc.CurCol, doc.CurRow, doc.CurCol, kLastRow};
    case PasteKind::OneValue:
      return DataCellsOf(Normalised(doc.grid.Selection()));
    case PasteKind::Block:
      return {doc.CurCol, doc.CurRow, kLastCol, kLastRow};
    case PasteKind::Table:
    case PasteKind::WrappedTabText:
      break;
  }
  return {kFirstDataCol, kFirstDataRow, kLastCol, kLastRow};
}

bool Inside(const CellBlock& b, int c, int r) {
  return c >= b.left && c <= b.right && r >= b.top && r <= b.bottom;
}

// Each pasted line or field that fits is found in its cell: whole for lines
// and a single value, up to blanks for a block (trailing ones go, a number
// gains leading ones).
void CheckNothingLost(const Document& doc, PasteKind kind, std::string_view text) {
  if (kind != PasteKind::Lines && kind != PasteKind::OneValue && kind != PasteKind::Block) return;
  const std::vector<std::string> lines = SplitLines(text);
  const Grid& g = doc.grid;
  if (kind == PasteKind::OneValue) {
    const CellBlock b = DataCellsOf(Normalised(g.Selection()));
    for (int c = b.left; c <= b.right; ++c)
      for (int r = b.top; r <= b.bottom; ++r)
        Check(g.Cell(c, r) == lines[0], "value in every cell");
    return;
  }
  if (kind == PasteKind::Block && HasQuotedField(lines)) {
    // A record from the row below the one before, a row per line of a field.
    std::size_t row = static_cast<std::size_t>(doc.CurRow);
    for (TabRecords rec(lines); row <= kLastRow && rec.Next(); row += rec.Rows()) {
      for (std::size_t f = 0; f < rec.FieldCount() && doc.CurCol + f <= kLastCol; ++f) {
        for (std::size_t k = 0; k < rec.LineCount(f) && row + k <= kLastRow; ++k) {
          const std::string& cell =
              g.Cell(doc.CurCol + static_cast<int>(f), static_cast<int>(row + k));
          Check(StripText(cell) == StripText(rec.Line(f, k)), "line of a field in its cell");
        }
      }
    }
    return;
  }
  for (std::size_t i = 0; i < lines.size() && doc.CurRow + static_cast<long>(i) <= kLastRow; ++i) {
    const int row = doc.CurRow + static_cast<int>(i);
    if (kind == PasteKind::Lines) {
      Check(g.Cell(doc.CurCol, row) == lines[i], "line in its cell");
      continue;
    }
    SplitTabFields(lines[i], [&](int f, std::string_view field) {
      if (doc.CurCol + f <= kLastCol)
        Check(StripText(g.Cell(doc.CurCol + f, row)) == StripText(field), "field in its cell");
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Document* doc = [] {
    auto* d = new Document;  // reused: a paste lands on what earlier ones left
    SetUpGrid(*d);
    return d;
  }();
  std::uint8_t h[kHeader] = {};
  for (std::size_t i = 0; i < kHeader && i < size; ++i) h[i] = data[i];
  const std::size_t skip = size < kHeader ? size : kHeader;
  const std::string_view text(reinterpret_cast<const char*>(data) + skip, size - skip);

  doc->CurCol = h[0] % 40 - 1;
  doc->CurRow = RowFrom(h[1]);
  doc->grid.SetSelection({h[2] % kColCount, h[3] % kRowCount, h[4] % kColCount, h[5] % kRowCount});
  doc->grid.SetColWidth(kFirstDataCol + h[6] % 35, kPixelsPerByte * (1 + h[6] / 35 % 8) + 5);
  // A fresh copy each run: a copy kept across runs would only ever grow, and
  // libFuzzer takes every run with more allocations than frees for a leak.
  const auto before = std::make_unique<const Document>(*doc);

  const PasteKind kind = PasteText(*doc, text);
  const Grid& g = doc->grid;
  const Grid& was = before->grid;
  const bool table = kind == PasteKind::Table;
  if (!table) {
    Check(doc->CurCol == before->CurCol && doc->CurRow == before->CurRow, "recorded cell kept");
    Check(g.Selection() == was.Selection(), "selection kept");
  }
  if (kind != PasteKind::Table && kind != PasteKind::WrappedTabText) {
    Check(doc->options.Title() == before->options.Title(), "title kept");
  }

  const CellBlock writable = Writable(*before, kind);
  for (int c = 0; c < kColCount; ++c) {
    for (int r = 0; r < kRowCount; ++r) {
      // A table sets the marks of every row it reads, a block those of the
      // rows a quoted cell spans.
      const bool marks = table || (kind == PasteKind::Block && r >= before->CurRow);
      if (Inside(writable, c, r) || (marks && c == 0)) continue;
      Check(g.Cell(c, r) == was.Cell(c, r), "cell outside the paste's reach kept");
    }
  }
  for (int r = kFirstDataRow; r <= kLastRow; ++r) {
    Check(g.Cell(0, r).empty() || g.Cell(0, r) == ContinuationMark, "column 0 holds marks only");
  }
  Check(g.ColWidth(0) == was.ColWidth(0) && g.ColWidth(1) == was.ColWidth(1),
        "mark and heading column widths kept");
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    const int w = g.ColWidth(c);
    if (c < writable.left || c > writable.right) {
      Check(w == was.ColWidth(c), "width outside the paste's reach kept");
      continue;
    }
    Check(w >= kColumnPaddingPx && (w - kColumnPaddingPx) % kPixelsPerByte == 0,
          "data column width of the form 6n+5");
    if (kind == PasteKind::Block) Check(w >= was.ColWidth(c), "a block paste only widens");
  }
  CheckNothingLost(*doc, kind, text);

  fuzz::CheckOptionsAndTable(*doc);
  // Fresh options and an empty grid now and then, as ClearTable gives.
  if (size % 7 == 0) ClearTable(*doc);
  return 0;
}
