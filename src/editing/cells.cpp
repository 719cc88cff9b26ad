#include "editing/cells.h"

namespace tabulon {

namespace {

CellBlock SelectedCells(const Document& doc) {
  return DataCellsOf(Normalised(doc.grid.Selection()));
}

void EmptyCells(Document& doc, const CellBlock& b) {
  for (int c = b.left; c <= b.right; ++c) {
    for (int r = b.top; r <= b.bottom; ++r) doc.grid.SetCell(c, r, std::string());
  }
}

}  // namespace

std::optional<std::string> CopyCells(const Document& doc) {
  const CellBlock b = SelectedCells(doc);
  if (b.Empty()) return std::nullopt;
  const bool oneRow = b.top == b.bottom;
  std::string text;
  for (int r = b.top; r <= b.bottom; ++r) {
    for (int c = b.left; c <= b.right; ++c) {
      if (c > b.left) text += '\t';
      text += doc.grid.Cell(c, r);
    }
    if (!oneRow) text += "\r\n";
  }
  if (text.empty()) return std::nullopt;
  return text;
}

std::optional<std::string> CutCells(Document& doc) {
  std::optional<std::string> text = CopyCells(doc);
  EmptyCells(doc, SelectedCells(doc));
  return text;
}

void DeleteCells(Document& doc, const std::function<bool(const char*)>& ask) {
  constexpr CellBlock kDataArea{kFirstDataCol, kFirstDataRow, kLastCol, kLastRow};
  if (Normalised(doc.grid.Selection()) == kDataArea) {
    if (ask(kClearTableQuestion)) ClearTable(doc);
    return;
  }
  EmptyCells(doc, SelectedCells(doc));
}

void SelectAllCells(Document& doc) {
  doc.grid.SetSelection({kFirstDataCol, kFirstDataRow, kLastCol, kLastRow});
}

}  // namespace tabulon
