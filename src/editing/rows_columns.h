// The column and row menus' commands: copy, cut and paste a whole line, delete
// one, and insert an empty one. Each acts on the recorded cell (CurCol,
// CurRow) as the menu handler does, and does nothing at all unless that is a
// data column (2..36) for a column command or a data row (1..256) for a row
// command.
#pragma once

#include "document/document.h"
#include "editing/editing_state.h"

namespace tabulon {

// "列コピー" / "行コピー": the held line becomes the column's 257 cells, the
// heading first, or the row's 37 cells, the mark and the heading first.
void CopyColumn(const Document& doc, GridEditState& state);
void CopyRow(const Document& doc, GridEditState& state);

// "列切り取り" / "行切り取り": a copy, then the line is emptied (a row's mark
// too) but keeps its heading text; a column keeps its width.
void CutColumn(Document& doc, GridEditState& state);
void CutRow(Document& doc, GridEditState& state);

// "列貼り付け" / "行貼り付け": the held line, its heading (and a row's mark)
// included, replaces column CurCol or row CurRow. A pasted column is fitted to
// its cells and CurRow becomes 0. The held line stays for further pastes.
void PasteHeldLine(Document& doc, const GridEditState& state);

// "列削除": the columns right of CurCol each move one place left with their
// widths, the last column comes in empty at the default width, and the
// column headings are renewed. Nothing else changes.
void DeleteColumn(Document& doc);

// "行削除": the rows below CurRow each move one up, marks and headings
// included, the last row comes in empty, and the row headings are renumbered.
void DeleteRow(Document& doc);

// What the window asks (Yes/No) before an insert; it calls the insert only on
// Yes. UTF-8.
inline constexpr const char* kInsertColumnQuestion =
    "列を挿入すると、最終列が切り捨てられます。\r\n列を挿入しますか？";
inline constexpr const char* kInsertRowQuestion =
    "行を挿入すると、最終行が切り捨てられます。\r\n行を挿入しますか？";

// "この列の前" / "この列の後": an empty, fitted column opens before or after
// CurCol and the last column is lost; after column 36 nothing moves. Then
// every heading is reset (selection (2,1)) and CurCol = 1, CurRow = 0.
void InsertColumnBefore(Document& doc);
void InsertColumnAfter(Document& doc);

// "この行の前" / "この行の後": an empty row opens before or after CurRow and
// the last row is lost; after row 256 nothing moves. The row-heading column
// is fitted to the headings as they then stand, then every heading is reset
// (selection (2,1)) and CurCol = 1, CurRow = 0.
void InsertRowBefore(Document& doc);
void InsertRowAfter(Document& doc);

}  // namespace tabulon
