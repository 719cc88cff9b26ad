#include "table/paste.h"

#include <algorithm>
#include <string>
#include <vector>

#include "document/cp932.h"
#include "table/reader.h"

namespace tabulon {

namespace {

// A table this program wrote: its layout marker "^-" begins at byte 3 or 4
// of the top line, right after the corner and any comment mark. The marker
// alone is not enough; an ordinary line such as "x=^-y" has it there too.
bool IsGeneratedTableTop(std::string_view line0) {
  const std::size_t at = FindText(line0, "^-");
  return (at == 2 || at == 3) && HasGeneratedTablePrefix(line0);
}

// Lines that fit between `firstRow` and the last grid row.
std::size_t RowsFrom(int firstRow, std::size_t lines) {
  return std::min(lines, static_cast<std::size_t>(kLastRow - firstRow + 1));
}

// Each line into one cell of column CurCol, going down from CurRow.
PasteKind PasteLines(Document& doc, const std::vector<std::string>& lines) {
  if (!InDataCells(doc.CurCol, doc.CurRow)) return PasteKind::Nothing;
  const std::size_t rows = RowsFrom(doc.CurRow, lines.size());
  for (std::size_t r = 0; r < rows; ++r) {
    doc.grid.SetCell(doc.CurCol, doc.CurRow + static_cast<int>(r), lines[r]);
  }
  FitColWidth(doc, doc.CurCol);
  return PasteKind::Lines;
}

// The one line into every selected cell.
PasteKind PasteOneValue(Document& doc, const std::string& value) {
  const CellBlock b = DataCellsOf(Normalised(doc.grid.Selection()));
  if (b.Empty()) return PasteKind::Nothing;
  for (int c = b.left; c <= b.right; ++c) {
    for (int r = b.top; r <= b.bottom; ++r) doc.grid.SetCell(c, r, value);
    FitColWidth(doc, c);
  }
  return PasteKind::OneValue;
}

// Spreadsheet cells as a block from (CurCol, CurRow). Numbers are
// right-aligned to the widest field of their column, counting the lines
// that fall below the grid too, as the reader does; columns only widen, so
// a paste never hides text the user laid out. `quotes` false tells that
// the text holds no double quote, so no cell of it is quoted.
PasteKind PasteBlock(Document& doc, const std::vector<std::string>& lines, bool quotes) {
  if (!InDataCells(doc.CurCol, doc.CurRow)) return PasteKind::Nothing;
  const int firstCol = doc.CurCol;
  ColumnWidths w{};
  if (quotes && HasQuotedField(lines)) {
    // Cells with line breaks: a record takes a grid row for each line of
    // its tallest field, the rows after its first marked as continuations.
    for (TabRecords records(lines); records.Next();) WidenToRecord(w, records, firstCol);
    std::size_t row = static_cast<std::size_t>(doc.CurRow);
    for (TabRecords records(lines); row <= static_cast<std::size_t>(kLastRow) && records.Next();
         row += records.Rows()) {
      StoreTabRecord(doc, firstCol, row, records, w, nullptr);
    }
  } else {
    for (const std::string& line : lines) WidenToFields(w, line, firstCol);
    const std::size_t rows = RowsFrom(doc.CurRow, lines.size());
    for (std::size_t r = 0; r < rows; ++r) {
      const int row = doc.CurRow + static_cast<int>(r);
      SplitTabFields(lines[r], [&](int i, std::string_view f) {
        const int c = firstCol + i;
        if (c > kLastCol) return;
        doc.grid.SetCell(
            c, row, IsNumericText(StripText(f)) ? PadLeft(f, w[c]) : std::string(StripTrailing(f)));
      });
    }
  }
  for (int c = firstCol; c <= kLastCol; ++c) {
    const int textWidth = kPixelsPerByte * w[c] + kColumnPaddingPx;
    doc.grid.SetColWidth(c, std::max(textWidth, doc.grid.ColWidth(c)));
    WidenColWidth(doc, c);
  }
  return PasteKind::Block;
}

}  // namespace

PasteKind PasteText(Document& doc, std::string_view text) {
  if (text.empty()) return PasteKind::Nothing;
  std::vector<std::string> lines = SplitLines(text);
  const std::string& l0 = lines.front();

  // 0x09 is never the second byte of a double-byte character, so a byte
  // search finds exactly the TABs a character walk would.
  if (text.find('\t') == std::string_view::npos) {
    if (IsGeneratedTableTop(l0)) {
      // The window's creation once more; rows the table does not reach keep
      // their cells.
      SetUpGrid(doc);
      ReadClipboardLines(doc, lines);
      return PasteKind::Table;
    }
    return lines.size() >= 2 ? PasteLines(doc, lines) : PasteOneValue(doc, l0);
  }

  // Only a first line that begins with the Basic comment mark is a comment;
  // an apostrophe further on is part of the spreadsheet text.
  const bool quoted = StartsWith(l0, "'");
  const bool tab = l0.find('\t') != std::string::npos;
  if (!quoted && (tab || QuotedFirstFieldBeforeTab(lines))) {
    return PasteBlock(doc, lines, text.find('"') != std::string_view::npos);
  }
  const WrappedForm form = quoted ? (tab ? WrappedForm::A : WrappedForm::B) : WrappedForm::C;
  ReadWrappedTabText(doc, lines, form, UnmarkedTitle::Keep);
  return PasteKind::WrappedTabText;
}

}  // namespace tabulon
