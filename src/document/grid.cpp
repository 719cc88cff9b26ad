#include "document/grid.h"

#include "document/blanks.h"

#include <algorithm>
#include <utility>

namespace tabulon {

Grid::Grid() {
  widths_.fill(kDefaultColWidth);
  widestKnown_.fill(true);
}

Grid::Grid(const Grid& other)
    : widths_(other.widths_),
      filledInCol_(other.filledInCol_),
      nonBlankInCol_(other.nonBlankInCol_),
      nonBlankInRow_(other.nonBlankInRow_),
      widest_(other.widest_),
      widestKnown_(other.widestKnown_),
      widestRule_(other.widestRule_),
      selection_(other.selection_),
      topRow_(other.topRow_),
      leftCol_(other.leftCol_) {
  for (int c = 0; c < kColCount; ++c) {
    for (int b = 0; b < kBlocks; ++b) {
      if (other.cells_[c][b]) cells_[c][b] = std::make_unique<Block>(*other.cells_[c][b]);
    }
  }
}

Grid& Grid::operator=(const Grid& other) {
  if (this != &other) {
    for (int c = 0; c < kColCount; ++c) {
      for (int r = 0; r < kRowCount; ++r) SetCell(c, r, other.At(c, r));
      SetColWidth(c, other.widths_[c]);
    }
    selection_ = other.selection_;
    topRow_ = other.topRow_;
    leftCol_ = other.leftCol_;
  }
  return *this;
}

void Grid::SetCell(int col, int row, std::string text) {
  if (!InGrid(col, row)) return;
  std::unique_ptr<Block>& block = cells_[col][row / kBlockRows];
  if (!block) {
    if (journal_) journal_->CellChanging(col, row, kNoCell);
    if (text.empty()) return;  // empty, and without a block: stays so
    block = std::make_unique<Block>();
  } else if (journal_) {
    journal_->CellChanging(col, row, (*block)[row % kBlockRows]);
  }
  std::string& cell = (*block)[row % kBlockRows];
  // The counts as Count would change them, in one step.
  const int nonBlank = static_cast<int>(!IsBlankText(text)) - static_cast<int>(!IsBlankText(cell));
  if (col != 1) nonBlankInRow_[row] += nonBlank;
  if (row >= kFirstDataRow) {
    filledInCol_[col] += !text.empty() - !cell.empty();
    nonBlankInCol_[col] += nonBlank;
    KeepWidestToRule();
    if (widestKnown_[col]) {
      const int columns = Columns(text);
      if (columns >= widest_[col]) {
        widest_[col] = columns;
      } else if (Columns(cell) == widest_[col]) {
        widestKnown_[col] = false;  // the longest may be gone: looked for when asked
      }
    }
  }
  cell = std::move(text);
  // A short text is copied into the room the cell has; a cell never keeps
  // room for a longer text it once held.
  const std::size_t shortText = std::string().capacity();  // held without room of its own
  if (cell.capacity() > shortText && cell.size() <= shortText) cell.shrink_to_fit();
}

void Grid::EmptyColumn(int col) {
  if (!InCols(col)) return;
  // The cells that hold text, found through the counts: only the heading
  // row is looked at when the data rows are empty.
  for (int r = 0; r < kRowCount && (r == 0 || filledInCol_[col] > 0); ++r) {
    if (At(col, r).empty()) continue;
    std::string& cell = Slot(col, r);
    if (journal_) journal_->CellChanging(col, r, cell);
    Count(col, r, cell, -1);
    std::string().swap(cell);
  }
  widest_[col] = 0;
  widestKnown_[col] = true;
}

void Grid::Count(int col, int row, const std::string& text, int sign) {
  if (text.empty()) return;
  const bool nonBlank = !IsBlankText(text);
  if (row >= kFirstDataRow) {
    filledInCol_[col] += sign;
    if (nonBlank) nonBlankInCol_[col] += sign;
  }
  if (nonBlank && col != 1) nonBlankInRow_[row] += sign;
}

void Grid::KeepWidestToRule() const {
  if (widestRule_ == CurrentWidthRule()) return;
  widestRule_ = CurrentWidthRule();
  widestKnown_.fill(false);
}

int Grid::WidestDataCell(int col) const {
  if (!InCols(col)) return 0;
  KeepWidestToRule();
  if (!widestKnown_[col] && filledInCol_[col] == 0) {
    widest_[col] = 0;  // emptied: nothing to look for
    widestKnown_[col] = true;
  }
  if (!widestKnown_[col]) {
    int widest = 0;
    for (int r = kFirstDataRow; r <= kLastRow; ++r) {
      widest = std::max(widest, Columns(At(col, r)));
    }
    widest_[col] = widest;
    widestKnown_[col] = true;
  }
  return widest_[col];
}

void Grid::Recount() {
  widestKnown_.fill(false);
  filledInCol_.fill(0);
  nonBlankInCol_.fill(0);
  nonBlankInRow_.fill(0);
  for (int c = 0; c < kColCount; ++c) {
    for (int r = 0; r < kRowCount; ++r) Count(c, r, At(c, r), +1);
  }
}

void Grid::SetColWidth(int col, int pixels) {
  if (col < 0 || col >= kColCount) return;
  if (journal_) journal_->WidthChanging(col, widths_[col]);
  widths_[col] = pixels;
}

namespace {
// Takes element `from` out and puts it back at `to`, shifting those between.
template <typename Array>
void MoveElement(Array& a, int from, int to) {
  if (from < to) {
    std::rotate(a.begin() + from, a.begin() + from + 1, a.begin() + to + 1);
  } else {
    std::rotate(a.begin() + to, a.begin() + from, a.begin() + from + 1);
  }
}
}  // namespace

void Grid::MoveColumn(int from, int to) {
  if (!InGrid(from, 0) || !InGrid(to, 0) || from == to) return;
  if (journal_) {
    for (int c = std::min(from, to); c <= std::max(from, to); ++c) {
      for (int r = 0; r < kRowCount; ++r) journal_->CellChanging(c, r, At(c, r));
      journal_->WidthChanging(c, widths_[c]);
    }
  }
  MoveElement(cells_, from, to);
  MoveElement(widths_, from, to);
  // A column's counts go with it, unless the row headings' column changes.
  MoveElement(filledInCol_, from, to);
  MoveElement(nonBlankInCol_, from, to);
  MoveElement(widest_, from, to);
  MoveElement(widestKnown_, from, to);
  if (std::min(from, to) <= 1) Recount();
}

void Grid::MoveRow(int from, int to) {
  if (!InGrid(0, from) || !InGrid(0, to) || from == to) return;
  if (journal_) {
    for (int c = 0; c < kColCount; ++c) {
      for (int r = std::min(from, to); r <= std::max(from, to); ++r) {
        journal_->CellChanging(c, r, At(c, r));
      }
    }
  }
  // Each column's texts, shifted one place at a time; a column without a
  // block over the rows has no text there to move.
  const int lo = std::min(from, to), hi = std::max(from, to);
  const int step = from < to ? 1 : -1;
  for (int c = 0; c < kColCount; ++c) {
    bool any = false;
    for (int b = lo / kBlockRows; b <= hi / kBlockRows; ++b) any = any || cells_[c][b];
    if (!any) continue;
    std::array<std::string*, kRowCount> at;
    for (int r = lo; r <= hi; ++r) at[r] = &Slot(c, r);
    for (int r = from; r != to; r += step) at[r]->swap(*at[r + step]);
  }
  // A row's count goes with it, unless the heading row changes.
  MoveElement(nonBlankInRow_, from, to);
  if (std::min(from, to) == 0) Recount();
}

void Grid::SetSelection(const GridSelection& s) {
  if (InGrid(s.col, s.row) && InGrid(s.anchorCol, s.anchorRow)) selection_ = s;
}

void Grid::ScrollTo(int leftCol, int topRow) {
  if (!InGrid(leftCol, topRow)) return;
  leftCol_ = leftCol;
  topRow_ = topRow;
}

}  // namespace tabulon
