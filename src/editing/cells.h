// The cell menu's commands on the selected block of data cells: copy, cut
// and delete, and selecting every data cell. The paste is PasteText
// (table/paste.h). A selection reaching outside the data cells is cut to
// them, so no command touches a heading or a mark.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/document.h"

namespace tabulon {

// "コピー": the selected block as clipboard text (inside text): each row's
// cells joined by one TAB, texts as they are; one row gives that line with
// no line end, two or more give every line followed by CR LF, the last
// included.
// Nothing (nullopt) when the text would be a single empty line, so copying
// one empty cell leaves the clipboard as it was.
std::optional<std::string> CopyCells(const Document& doc);

// "切り取り": the same text, and every selected cell emptied.
std::optional<std::string> CutCells(Document& doc);

// The question before deleting the whole data area (UTF-8, shown by the
// window).
inline constexpr const char* kClearTableQuestion = "表をクリアしますか？";

// "削除": empties the selected cells. When the selection is exactly the whole
// data area it asks `ask(kClearTableQuestion)` first and clears the table
// (ClearTable: options and widths too) on Yes (true), nothing on No.
void DeleteCells(Document& doc, const std::function<bool(const char*)>& ask);

// Ctrl+A: every data cell, the anchor at (2,1) and the grid's current cell
// at (36,256). The recorded cell (CurCol, CurRow) stays.
void SelectAllCells(Document& doc);

}  // namespace tabulon
