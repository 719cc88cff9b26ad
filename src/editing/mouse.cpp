#include "editing/mouse.h"

#include <algorithm>

#include "document/blanks.h"

namespace tabulon {

namespace {

// A recorded place as a data cell, for the corner of a block: a heading
// counts as the first data column or row, a point beyond the cells as the
// last, so that no block reaches outside the data cells.
int DataCol(int col) {
  return col < 0 ? kLastCol : std::clamp(col, kFirstDataCol, kLastCol);
}
int DataRow(int row) {
  return row < 0 ? kLastRow : std::clamp(row, kFirstDataRow, kLastRow);
}

bool InsideSelection(const GridSelection& s, int col, int row) {
  return col >= std::min(s.anchorCol, s.col) && col <= std::max(s.anchorCol, s.col) &&
         row >= std::min(s.anchorRow, s.row) && row <= std::max(s.anchorRow, s.row);
}

// The selection a press makes on its own: a whole column, row or the whole
// data area from a heading, a single cell from a data cell outside the block.
void SelectByPress(Grid& g, int col, int row) {
  if (col == 1 && row == 0) {
    g.SetSelection({kFirstDataCol, kFirstDataRow, kLastCol, kLastRow});
  } else if (col == 1 && row >= kFirstDataRow) {
    g.SetSelection({kFirstDataCol, row, kLastCol, row});
  } else if (col >= kFirstDataCol && row == 0) {
    g.SetSelection({col, kFirstDataRow, col, kLastRow});
  } else if (InDataCells(col, row) && !InsideSelection(g.Selection(), col, row)) {
    g.Select(col, row);
  }
}

}  // namespace

void GridMouseDown(Document& doc, GridEditState& state, GridCell pressed, ShiftState shift,
                   const std::function<std::string()>& clipboardText) {
  const int previousCol = doc.CurCol, previousRow = doc.CurRow;
  doc.CurCol = pressed.col;
  doc.CurRow = pressed.row;
  if (shift == (kShift | kLeftButton)) {
    // Extends from the cell recorded just before, not from a fixed anchor.
    if (InDataCells(doc.CurCol, doc.CurRow)) {
      doc.grid.SetSelection(
          {DataCol(previousCol), DataRow(previousRow), DataCol(doc.CurCol), DataRow(doc.CurRow)});
    }
    return;
  }
  SelectByPress(doc.grid, doc.CurCol, doc.CurRow);
  if (shift != kRightButton) return;
  state.menu = MenuForPress(doc.CurCol, doc.CurRow, true);
  // "貼り付け" pastes only text with something in it besides blanks and
  // control characters.
  if (state.menu == GridMenu::Cells) state.cellPasteEnabled = !IsBlankText(clipboardText());
}

int ColEdgeOffset(const Document& doc, int x, int c) {
  int edge = 0;  // just right of column c's grid line
  for (int i = 0; i <= c; ++i) edge += doc.grid.ColWidth(i) + 1;
  if (x >= edge - 4) return 0;
  if (x <= edge - doc.grid.ColWidth(c) + 3) return 1;
  return -1;
}

GridMenu GridMouseUp(Document& doc, const GridEditState& state, GridCell released, int x,
                     bool rightButton) {
  doc.CurCol = released.col;
  doc.CurRow = released.row;
  if (doc.CurRow == 0 && doc.CurCol >= kFirstDataCol) {
    if (const int k = ColEdgeOffset(doc, x, doc.CurCol); k >= 0) WidenColWidth(doc, doc.CurCol - k);
  }
  return rightButton ? state.menu : GridMenu::None;
}

bool GridMouseMove(Document& doc, GridCell under, ShiftState shift) {
  // A press on a heading moves or sizes it; the grid does that itself.
  if (shift != kLeftButton || !InDataCells(doc.CurCol, doc.CurRow)) return false;
  doc.grid.SetSelection({std::max(doc.CurCol, kFirstDataCol), std::max(doc.CurRow, kFirstDataRow),
                         std::max(under.col, kFirstDataCol), std::max(under.row, kFirstDataRow)});
  return true;
}

bool UpdateGridHint(GridEditState& state, GridCell under) {
  if (under.col == state.hintCol && under.row == state.hintRow) return false;
  state.hintCol = under.col;
  state.hintRow = under.row;
  return true;
}

const char* GridHint(GridCell cell) {
  if (cell.col == 1 && cell.row == 0) {
    return "・クリックで全セル選択\r\n・左ダブルクリックで見出しの初期化";
  }
  if (cell.col >= kFirstDataCol && cell.row == 0) {
    return "・クリックで列選択\r\n・左ダブルクリックで列幅の自動調整\r\n"
           "・見出し中央をドラッグして列の移動\r\n・見出し両端をドラッグして列幅の変更\r\n"
           "・右クリックで列メニュー表示";
  }
  if (cell.col == 1 && cell.row >= kFirstDataRow) {
    return "・クリックで行選択\r\n・見出し中央をドラッグして行の移動\r\n・右クリックで行メニュー表"
           "示";
  }
  return "";
}

std::optional<GridCommand> DoubleClickCommand(const Document& doc) {
  const int col = doc.CurCol, row = doc.CurRow;
  if (col == 1 && row == 0) return GridCommand::RenewHeadings;
  if (row == 0 && col >= kFirstDataCol) return GridCommand::FitColumn;
  if (row >= 2 && row <= kLastRow && col == 0) return GridCommand::ToggleContinuation;
  if (row == 0 && col == 0) return GridCommand::ClearContinuations;
  return std::nullopt;
}

void RunDoubleClickCommand(Document& doc, GridCommand command) {
  Grid& g = doc.grid;
  const int row = doc.CurRow;
  switch (command) {
    case GridCommand::RenewHeadings:
      return ResetHeadings(doc);
    case GridCommand::FitColumn:
      return FitColWidth(doc, doc.CurCol);
    case GridCommand::ToggleContinuation:
      return g.SetCell(0, row,
                       g.Cell(0, row) == ContinuationMark ? "" : std::string(ContinuationMark));
    case GridCommand::ClearContinuations:
      for (int r = 0; r <= kLastRow; ++r) g.SetCell(0, r, "");
      return;
    default:
      return;
  }
}

void GridDoubleClick(Document& doc) {
  if (const std::optional<GridCommand> command = DoubleClickCommand(doc)) {
    RunDoubleClickCommand(doc, *command);
  }
}

}  // namespace tabulon
