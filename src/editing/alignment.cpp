#include "editing/alignment.h"

#include <algorithm>

#include "document/blanks.h"
#include "document/text_columns.h"

namespace tabulon {

std::string AlignedText(std::string_view text, int capacity, Alignment alignment) {
  const std::string_view t = StripText(text);
  const int room = capacity - Columns(t);
  int pad = 0;
  if (alignment == Alignment::Right) pad = room;
  if (alignment == Alignment::Centre) pad = room / 2;
  std::string aligned(static_cast<std::size_t>(std::max(pad, 0)), ' ');
  aligned += t;
  return aligned;
}

void AlignCells(Document& doc, Alignment alignment) {
  CellBlock b = Normalised(doc.grid.Selection());
  b = {std::max(b.left, 0), std::max(b.top, 0), std::min(b.right, kLastCol),
       std::min(b.bottom, kLastRow)};
  for (int c = b.left; c <= b.right; ++c) {
    const int capacity = TextWidthOf(doc.grid.ColWidth(c));
    for (int r = b.top; r <= b.bottom; ++r) {
      doc.grid.SetCell(c, r, AlignedText(doc.grid.Cell(c, r), capacity, alignment));
    }
  }
}

}  // namespace tabulon
