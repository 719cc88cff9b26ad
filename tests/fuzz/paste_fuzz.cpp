// Fuzz target: "貼り付け" of arbitrary bytes at an arbitrary recorded cell and
// selection, over whatever earlier pastes left in the grid. The paste must
// write only where its reading allows, lose no pasted text that fits, only
// widen columns in a block paste, and leave a grid the writer can lay out.
//
// Input: 7 header bytes, then the clipboard text.
//   0 CurCol -1..38          1 CurRow -1..126 or 130..257
//   2, 3 selection anchor    4, 5 selection's current cell (any grid cell)
//   6 a snapped width (6n+5, n 1..8) for one data column, as a border drag gives
// A text before the clipboard text, ended by 0x1E, is pasted first at the
// same cell and selection; the second paste is the one checked.
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/blanks.h"
#include "document/document.h"
#include "invariants.h"
#include "table/paste.h"
#include "table/reader.h"
#include "table/tab_text.h"
#include "table/writer.h"

namespace {

using namespace tabulon;

using tabulon::fuzz::Check;

constexpr std::size_t kHeader = 7;

int RowFrom(std::uint8_t b) {
  return (b & 0x80) ? kLastRow + 1 - (b & 0x7f) : (b & 0x7f) - 1;
}

// The document before the paste: its small state, copied, and what each cell
// held before the paste first changed it, as the grid tells its journal
// before every change. A cell the journal was not told of is unchanged, so
// comparing the journal's cells is comparing every cell, without a copy of
// the whole grid each run.
struct Before final : GridJournal {
  int curCol = 0;
  int curRow = 0;
  GridSelection selection;
  std::string title;
  std::array<int, kColCount> widths{};
  std::bitset<kColCount * kRowCount> touched;
  std::vector<std::pair<int, std::string>> cells;  // col * kRowCount + row, and the text

  Before() { cells.reserve(kColCount * kRowCount); }

  void Take(Document& doc) {
    curCol = doc.CurCol;
    curRow = doc.CurRow;
    selection = doc.grid.Selection();
    title = doc.options.Title();
    for (int c = 0; c < kColCount; ++c) widths[c] = doc.grid.ColWidth(c);
    doc.grid.SetJournal(this);
  }
  // Frees what the run took, so it ends with as many frees as allocations.
  void Release(Document& doc) {
    doc.grid.SetJournal(nullptr);
    for (const auto& cell : cells) touched.reset(static_cast<std::size_t>(cell.first));
    cells.clear();
    std::string().swap(title);
  }

  void CellChanging(int col, int row, const std::string& text) override {
    const int i = col * kRowCount + row;
    if (touched[static_cast<std::size_t>(i)]) return;
    touched.set(static_cast<std::size_t>(i));
    cells.emplace_back(i, text);
  }
  void WidthChanging(int, int) override {}
};

// The columns and rows a paste of this kind may write to.
CellBlock Writable(const Before& doc, PasteKind kind) {
  switch (kind) {
    case PasteKind::Nothing:
      return {};
    case PasteKind::Lines:
      return {doc.curCol, doc.curRow, doc.curCol, kLastRow};
    case PasteKind::OneValue:
      return DataCellsOf(Normalised(doc.selection));
    case PasteKind::Block:
    case PasteKind::MarkdownTable:
      return {doc.curCol, doc.curRow, kLastCol, kLastRow};
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
  Document& doc = fuzz::SetUpDocument();
  static Before* const before = new Before;  // its room for the cells kept for every run
  std::uint8_t h[kHeader] = {};
  for (std::size_t i = 0; i < kHeader && i < size; ++i) h[i] = data[i];
  const std::size_t skip = size < kHeader ? size : kHeader;
  const std::string_view input(reinterpret_cast<const char*>(data) + skip, size - skip);

  const auto place = [&] {
    doc.CurCol = h[0] % 40 - 1;
    doc.CurRow = RowFrom(h[1]);
    doc.grid.SetSelection({h[2] % kColCount, h[3] % kRowCount, h[4] % kColCount, h[5] % kRowCount});
    doc.grid.SetColWidth(kFirstDataCol + h[6] % 35, kPixelsPerColumn * (1 + h[6] / 35 % 8) + 5);
  };
  const std::string_view text = fuzz::SplitEarlierText(input, [&](std::string_view earlier) {
    place();
    PasteText(doc, fuzz::InsideText(earlier));
  });
  place();
  before->Take(doc);

  const std::string inside = fuzz::InsideText(text);
  const PasteKind kind = PasteText(doc, inside);
  const Grid& g = doc.grid;
  const bool table = kind == PasteKind::Table;
  if (!table) {
    Check(doc.CurCol == before->curCol && doc.CurRow == before->curRow, "recorded cell kept");
    Check(g.Selection() == before->selection, "selection kept");
  }
  const bool block = kind == PasteKind::Block || kind == PasteKind::MarkdownTable;
  if (kind != PasteKind::Table && kind != PasteKind::WrappedTabText &&
      kind != PasteKind::MarkdownTable) {
    Check(doc.options.Title() == before->title, "title kept");
  }

  const CellBlock writable = Writable(*before, kind);
  for (const auto& [i, was] : before->cells) {
    const int c = i / kRowCount, r = i % kRowCount;
    // A table sets the marks of every row it reads, a block those of the
    // rows a quoted cell spans.
    const bool marks = table || (block && r >= before->curRow);
    if (Inside(writable, c, r) || (marks && c == 0)) continue;
    Check(g.Cell(c, r) == was, "cell outside the paste's reach kept");
  }
  for (int r = kFirstDataRow; r <= kLastRow; ++r) {
    Check(g.Cell(0, r).empty() || g.Cell(0, r) == ContinuationMark, "column 0 holds marks only");
  }
  Check(g.ColWidth(0) == before->widths[0] && g.ColWidth(1) == before->widths[1],
        "mark and heading column widths kept");
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    const int w = g.ColWidth(c);
    if (c < writable.left || c > writable.right) {
      Check(w == before->widths[c], "width outside the paste's reach kept");
      continue;
    }
    Check(w >= kColumnPaddingPx && (w - kColumnPaddingPx) % kPixelsPerColumn == 0,
          "data column width of the form 6n+5");
    if (block) Check(w >= before->widths[c], "a block paste only widens");
  }
  CheckNothingLost(doc, kind, inside);

  fuzz::CheckOptionsAndTable(doc);
  before->Release(doc);
  fuzz::ResetDocument(doc);
  return 0;
}
