#include "document/grid.h"

#include <algorithm>
#include <utility>

namespace tabulon {

namespace {
const std::string kEmpty;
}  // namespace

Grid::Grid() {
  widths_.fill(kDefaultColWidth);
}

Grid::Grid(const Grid& other)
    : cells_(other.cells_),
      widths_(other.widths_),
      selection_(other.selection_),
      topRow_(other.topRow_),
      leftCol_(other.leftCol_) {}

Grid& Grid::operator=(const Grid& other) {
  if (this != &other) {
    for (int c = 0; c < kColCount; ++c) {
      for (int r = 0; r < kRowCount; ++r) SetCell(c, r, other.cells_[c][r]);
      SetColWidth(c, other.widths_[c]);
    }
    selection_ = other.selection_;
    topRow_ = other.topRow_;
    leftCol_ = other.leftCol_;
  }
  return *this;
}

const std::string& Grid::Cell(int col, int row) const {
  return InGrid(col, row) ? cells_[col][row] : kEmpty;
}

void Grid::SetCell(int col, int row, std::string text) {
  if (!InGrid(col, row)) return;
  if (journal_) journal_->CellChanging(col, row, cells_[col][row]);
  cells_[col][row] = std::move(text);
}

int Grid::ColWidth(int col) const {
  return (col >= 0 && col < kColCount) ? widths_[col] : 0;
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
      for (int r = 0; r < kRowCount; ++r) journal_->CellChanging(c, r, cells_[c][r]);
      journal_->WidthChanging(c, widths_[c]);
    }
  }
  MoveElement(cells_, from, to);
  MoveElement(widths_, from, to);
}

void Grid::MoveRow(int from, int to) {
  if (!InGrid(0, from) || !InGrid(0, to) || from == to) return;
  if (journal_) {
    for (int c = 0; c < kColCount; ++c) {
      for (int r = std::min(from, to); r <= std::max(from, to); ++r) {
        journal_->CellChanging(c, r, cells_[c][r]);
      }
    }
  }
  for (auto& column : cells_) MoveElement(column, from, to);
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
