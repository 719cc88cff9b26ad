#include "table/paste.h"

#include <algorithm>
#include <string>
#include <vector>

#include "table/format.h"
#include "table/markdown.h"
#include "table/reader.h"
#include "table/tab_text.h"

namespace tabulon {

namespace {

// A table this program wrote, read again only where its layout marker "^-"
// begins at column 3 or 4 of the top line, right after the corner and any
// comment mark. The marker there alone is not enough; an ordinary line such
// as "x=^-y" has it there too.
bool IsTableToReadAgain(std::string_view line0) {
  const std::size_t at = LayoutMarkerAt(line0);
  return (at == 2 || at == 3) && IsGeneratedTableTop(line0);
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
  const ColumnWidths w =
      StoreTabText(doc, lines, quotes, firstCol, static_cast<std::size_t>(doc.CurRow), nullptr);
  for (int c = firstCol; c <= kLastCol; ++c) {
    doc.grid.SetColWidth(c, std::max(ColWidthOfText(w[c]), doc.grid.ColWidth(c)));
    WidenColWidth(doc, c);
  }
  return PasteKind::Block;
}

// A Markdown table's cells as a block from (CurCol, CurRow), its header row
// first; columns only widen, as for spreadsheet cells. A title line above
// the table becomes the title.
PasteKind PasteMarkdownTable(Document& doc, const std::vector<std::string>& lines,
                             const MarkdownStart& start) {
  if (!InDataCells(doc.CurCol, doc.CurRow)) return PasteKind::Nothing;
  const ColumnWidths w = StoreMarkdownTable(doc, lines, start, doc.CurCol, doc.CurRow, nullptr);
  for (int c = doc.CurCol; c <= kLastCol; ++c) {
    doc.grid.SetColWidth(c, std::max(ColWidthOfText(w[c]), doc.grid.ColWidth(c)));
    WidenColWidth(doc, c);
  }
  if (const std::string title = MarkdownTitle(lines, start); !title.empty()) {
    doc.options.SetTitle(title);
    doc.options.SetChecked(Option::Title, true);
  }
  return PasteKind::MarkdownTable;
}

}  // namespace

PasteKind PasteText(Document& doc, std::string_view text) {
  if (text.empty()) return PasteKind::Nothing;
  std::vector<std::string> lines = SplitLines(text);
  const std::string& l0 = lines.front();
  if (const std::optional<MarkdownStart> markdown = FindMarkdownTable(lines)) {
    return PasteMarkdownTable(doc, lines, *markdown);
  }

  // 0x09 is never a byte of a longer UTF-8 character, so a byte search
  // finds exactly the TABs a character walk would.
  if (text.find('\t') == std::string_view::npos) {
    if (IsTableToReadAgain(l0)) {
      // The window's creation once more; rows the table does not reach keep
      // their cells.
      SetUpGrid(doc);
      ReadClipboardLines(doc, lines);
      return PasteKind::Table;
    }
    return lines.size() >= 2 ? PasteLines(doc, lines) : PasteOneValue(doc, l0);
  }

  const TextForm form = FormOfTabText(l0, QuotedFirstFieldBeforeTab(lines));
  if (form == TextForm::TabText) {
    return PasteBlock(doc, lines, text.find('"') != std::string_view::npos);
  }
  ReadWrappedTabText(doc, lines, form, UnmarkedTitle::Keep);
  return PasteKind::WrappedTabText;
}

}  // namespace tabulon
