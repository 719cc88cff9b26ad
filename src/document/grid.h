// The grid document: the fixed 37 x 257 grid of cell texts (inside text,
// UTF-8) with the pixel width of each column, the selection and the scroll
// position the window should show. Addresses are (column, row), both
// 0-based; anything outside the grid is ignored on write and reads as the
// empty string.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "document/text_columns.h"

namespace tabulon {

inline constexpr int kColCount = 37;   // 0: continuation marks, 1: row headings
inline constexpr int kRowCount = 257;  // 0: column headings
inline constexpr int kFirstDataCol = 2;
inline constexpr int kLastCol = 36;
inline constexpr int kFirstDataRow = 1;
inline constexpr int kLastRow = 256;

// One display column is 6 px in the grid font, and every column is 5 px
// wider than its text. The writer reads widths back from this.
inline constexpr int kPixelsPerColumn = 6;
inline constexpr int kColumnPaddingPx = 5;
inline constexpr int kHiddenColWidth = -1;
// Columns the grid control is created with, before any width rule runs.
inline constexpr int kDefaultColWidth = 22;

// "↑" in column 0 of a data row: no rule between this row and the one above.
inline constexpr std::string_view ContinuationMark = "↑";
// The corner cell: a blank and the full-width reverse solidus.
inline constexpr std::string_view kCornerText = " ＼";

constexpr bool InGrid(int col, int row) {
  return col >= 0 && col < kColCount && row >= 0 && row < kRowCount;
}

// Pixel width of a text in the grid font.
inline int TextPixelWidth(std::string_view text) {
  return Columns(text) * kPixelsPerColumn;
}

// Pixel width of a column whose text is `columns` display columns wide: the
// inverse of TextWidthOf.
constexpr int ColWidthOfText(int columns) {
  return columns * kPixelsPerColumn + kColumnPaddingPx;
}

// Text width in display columns of a column `pixelWidth` wide:
// (W - 5) div 6, truncated toward zero, never below 0.
constexpr int TextWidthOf(int pixelWidth) {
  const int n = (pixelWidth - kColumnPaddingPx) / kPixelsPerColumn;
  return n < 0 ? 0 : n;
}

// A rectangular block of selected cells; (col, row) is the focused cell and
// (anchorCol, anchorRow) the opposite corner.
struct GridSelection {
  int anchorCol = kFirstDataCol;
  int anchorRow = kFirstDataRow;
  int col = kFirstDataCol;
  int row = kFirstDataRow;
  bool operator==(const GridSelection&) const = default;
};

// A block of cells with left <= right and top <= bottom; empty when either
// pair is the other way round.
struct CellBlock {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  constexpr bool Empty() const { return left > right || top > bottom; }
  bool operator==(const CellBlock&) const = default;
};

// The selection's corners put in order.
constexpr CellBlock Normalised(const GridSelection& s) {
  return {s.anchorCol < s.col ? s.anchorCol : s.col, s.anchorRow < s.row ? s.anchorRow : s.row,
          s.anchorCol < s.col ? s.col : s.anchorCol, s.anchorRow < s.row ? s.row : s.anchorRow};
}

// The data cells of a block (columns 2..36, rows 1..256), so that a cell
// command never writes a heading or a mark whatever selection it is given.
constexpr CellBlock DataCellsOf(CellBlock b) {
  return {b.left < kFirstDataCol ? kFirstDataCol : b.left,
          b.top < kFirstDataRow ? kFirstDataRow : b.top, b.right > kLastCol ? kLastCol : b.right,
          b.bottom > kLastRow ? kLastRow : b.bottom};
}

// The data columns 2..36 and data rows 1..256: the cells the user's text
// goes in, beside the marks (column 0), the row headings (column 1) and the
// column headings (row 0).
constexpr bool IsDataCol(int col) {
  return col >= kFirstDataCol && col <= kLastCol;
}
constexpr bool IsDataRow(int row) {
  return row >= kFirstDataRow && row <= kLastRow;
}
// True for a data cell: columns 2..36, rows 1..256.
constexpr bool InDataCells(int col, int row) {
  return IsDataCol(col) && IsDataRow(row);
}

// Told what a cell or a width held just before a change, so that a step of
// the undo history can keep what it changed and nothing else.
class GridJournal {
 public:
  virtual void CellChanging(int col, int row, const std::string& text) = 0;
  virtual void WidthChanging(int col, int pixels) = 0;

 protected:
  ~GridJournal() = default;
};

// What an address outside the grid, or a cell never written, reads as.
inline const std::string kNoCell;

class Grid {
 public:
  Grid();
  Grid(const Grid& other);
  Grid& operator=(const Grid& other);

  const std::string& Cell(int col, int row) const {
    return InGrid(col, row) ? At(col, row) : kNoCell;
  }
  void SetCell(int col, int row, std::string text);
  // Sets every cell of the column, heading row included, to the empty text,
  // as SetCell(col, r, "") for each would; the journal is told of the cells
  // that held a text.
  void EmptyColumn(int col);

  // Counts of cells kept up to date by every change, so that a question
  // about a whole row or column costs one look when it is empty. A cell is
  // blank when it holds only bytes 0 to 32.
  // Non-empty cells of column `col` in the data rows 1..256: what EmptyColumn
  // and WidestDataCell go by, public so that a test can hold it to the cells.
  int FilledDataCells(int col) const { return InCols(col) ? filledInCol_[col] : 0; }
  // Non-blank cells of column `col` in the data rows 1..256.
  int NonBlankDataCells(int col) const { return InCols(col) ? nonBlankInCol_[col] : 0; }
  // Width in columns of the widest text in the data rows 1..256 of column
  // `col`; kept up to date while texts grow, looked for again after the
  // longest one shrank.
  int WidestDataCell(int col) const;
  // Non-blank cells of row `row` outside column 1, the row headings.
  int NonBlankCellsBesideHeading(int row) const {
    return row >= 0 && row < kRowCount ? nonBlankInRow_[row] : 0;
  }

  int ColWidth(int col) const { return InCols(col) ? widths_[col] : 0; }
  void SetColWidth(int col, int pixels);

  // Moves a whole column (all its cells, heading included, and its width) or
  // a whole row (its mark and heading included) to another place, shifting
  // the ones between, as dragging a heading does. Out-of-grid indexes do
  // nothing.
  void MoveColumn(int from, int to);
  void MoveRow(int from, int to);

  // Told of every change of a cell or width from now on (null: none). A
  // copy of the grid has no journal.
  void SetJournal(GridJournal* journal) { journal_ = journal; }

  const GridSelection& Selection() const { return selection_; }
  void Select(int col, int row) { SetSelection({col, row, col, row}); }
  void SetSelection(const GridSelection& s);

  // First data row and column the window should show at the top left.
  int TopRow() const { return topRow_; }
  int LeftCol() const { return leftCol_; }
  void ScrollTo(int leftCol, int topRow);

 private:
  static constexpr bool InCols(int col) { return col >= 0 && col < kColCount; }

  // A column's cells in blocks of rows, each made when a text is first
  // written into it: a grid costs memory for the rows it holds, and a new
  // one is made without touching nine thousand strings.
  static constexpr int kBlockRows = 32;
  static constexpr int kBlocks = (kRowCount + kBlockRows - 1) / kBlockRows;
  using Block = std::array<std::string, kBlockRows>;
  using Column = std::array<std::unique_ptr<Block>, kBlocks>;

  const std::string& At(int col, int row) const {
    const Block* block = cells_[col][row / kBlockRows].get();
    return block != nullptr ? (*block)[row % kBlockRows] : kNoCell;
  }
  std::string& Slot(int col, int row) {  // makes the block
    std::unique_ptr<Block>& block = cells_[col][row / kBlockRows];
    if (!block) block = std::make_unique<Block>();
    return (*block)[row % kBlockRows];
  }
  // Adds `sign` times the cell's text to the counts.
  void Count(int col, int row, const std::string& text, int sign);
  void Recount();

  std::array<Column, kColCount> cells_;
  std::array<int, kColCount> widths_{};
  std::array<int, kColCount> filledInCol_{};
  std::array<int, kColCount> nonBlankInCol_{};
  std::array<int, kRowCount> nonBlankInRow_{};
  mutable std::array<int, kColCount> widest_{};  // when widestKnown_
  mutable std::array<bool, kColCount> widestKnown_;
  // The width rule widest_ was measured by: under another, none is known.
  mutable WidthRule widestRule_ = CurrentWidthRule();
  void KeepWidestToRule() const;
  GridSelection selection_;
  int topRow_ = kFirstDataRow;
  int leftCol_ = kFirstDataCol;
  GridJournal* journal_ = nullptr;
};

}  // namespace tabulon
