#include "editing/rows_columns.h"

#include <iterator>
#include <string>
#include <vector>

namespace tabulon {

namespace {

using Kind = HeldLine::Kind;
using Cells = std::vector<std::string>;

// The whole-line steps the commands are made of, besides Grid::MoveColumn and
// Grid::MoveRow, so each change to the grid is one named step.

Cells ColumnCells(const Grid& g, int c) {
  Cells cells;
  for (int r = 0; r < kRowCount; ++r) cells.push_back(g.Cell(c, r));
  return cells;
}

Cells RowCells(const Grid& g, int r) {
  Cells cells;
  for (int c = 0; c < kColCount; ++c) cells.push_back(g.Cell(c, r));
  return cells;
}

// `cells` holds the whole line, row 0 (column 0) first.
void PutColumn(Grid& g, int c, const Cells& cells) {
  for (int r = 0; r < kRowCount; ++r) g.SetCell(c, r, cells[r]);
}

void PutRow(Grid& g, int r, const Cells& cells) {
  for (int c = 0; c < kColCount; ++c) g.SetCell(c, r, cells[c]);
}

void ClearColumn(Grid& g, int c) {
  for (int r = 0; r < kRowCount; ++r) g.SetCell(c, r, "");
}

void ClearRow(Grid& g, int r) {
  for (int c = 0; c < kColCount; ++c) g.SetCell(c, r, "");
}

// Opens an empty, fitted column at `at` (2..36), shifting it and those right
// of it one place right and losing column 36; at 37 nothing moves.
void InsertColumnAt(Document& doc, int at) {
  doc.CurRow = 0;
  if (at <= kLastCol) {
    doc.grid.MoveColumn(kLastCol, at);
    ClearColumn(doc.grid, at);
    FitColWidth(doc, at);
  }
  doc.CurCol = 1;
  ResetHeadings(doc);
}

// Opens an empty row at `at` (1..256) in the same way; at 257 nothing moves.
void InsertRowAt(Document& doc, int at) {
  doc.CurCol = 1;
  if (at <= kLastRow) {
    doc.grid.MoveRow(kLastRow, at);
    ClearRow(doc.grid, at);
  }
  FitColWidth(doc, 1);  // to the headings as moved, before they are renumbered
  doc.CurRow = 0;
  ResetHeadings(doc);
}

}  // namespace

void CopyColumn(const Document& doc, GridEditState& state) {
  if (IsDataCol(doc.CurCol)) state.held = {Kind::Column, ColumnCells(doc.grid, doc.CurCol)};
}

void CopyRow(const Document& doc, GridEditState& state) {
  if (IsDataRow(doc.CurRow)) state.held = {Kind::Row, RowCells(doc.grid, doc.CurRow)};
}

void CutColumn(Document& doc, GridEditState& state) {
  if (!IsDataCol(doc.CurCol)) return;
  CopyColumn(doc, state);
  ClearColumn(doc.grid, doc.CurCol);
  doc.grid.SetCell(doc.CurCol, 0, state.held.cells[0]);
}

void CutRow(Document& doc, GridEditState& state) {
  if (!IsDataRow(doc.CurRow)) return;
  CopyRow(doc, state);
  ClearRow(doc.grid, doc.CurRow);
  doc.grid.SetCell(1, doc.CurRow, state.held.cells[1]);
}

void PasteHeldLine(Document& doc, const GridEditState& state) {
  const HeldLine& held = state.held;
  if (held.kind == Kind::Column && IsDataCol(doc.CurCol) && std::ssize(held.cells) == kRowCount) {
    PutColumn(doc.grid, doc.CurCol, held.cells);
    doc.CurRow = 0;
    FitColWidth(doc, doc.CurCol);
  } else if (held.kind == Kind::Row && IsDataRow(doc.CurRow) &&
             std::ssize(held.cells) == kColCount) {
    PutRow(doc.grid, doc.CurRow, held.cells);
  }
}

void DeleteColumn(Document& doc) {
  if (!IsDataCol(doc.CurCol)) return;
  doc.grid.MoveColumn(doc.CurCol, kLastCol);
  ClearColumn(doc.grid, kLastCol);
  doc.grid.SetColWidth(kLastCol, kDefaultColWidth);
  ResetColumnHeadings(doc.grid);
}

void DeleteRow(Document& doc) {
  if (!IsDataRow(doc.CurRow)) return;
  doc.grid.MoveRow(doc.CurRow, kLastRow);
  ClearRow(doc.grid, kLastRow);
  ResetRowHeadings(doc.grid);
}

void InsertColumnBefore(Document& doc) {
  if (IsDataCol(doc.CurCol)) InsertColumnAt(doc, doc.CurCol);
}

void InsertColumnAfter(Document& doc) {
  if (IsDataCol(doc.CurCol)) InsertColumnAt(doc, doc.CurCol + 1);
}

void InsertRowBefore(Document& doc) {
  if (IsDataRow(doc.CurRow)) InsertRowAt(doc, doc.CurRow);
}

void InsertRowAfter(Document& doc) {
  if (IsDataRow(doc.CurRow)) InsertRowAt(doc, doc.CurRow + 1);
}

}  // namespace tabulon
