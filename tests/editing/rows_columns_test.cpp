#include "editing/rows_columns.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace tabulon {
namespace {

using LineCommand = void (*)(Document&, GridEditState&);
using Lines = std::function<int(int)>;
const std::string kMark(ContinuationMark);

// Every command with one signature, for the tables below.
template <auto Command>
void Call(Document& doc, GridEditState& state) {
  if constexpr (std::is_invocable_v<decltype(Command), Document&, GridEditState&>) {
    Command(doc, state);
  } else {
    Command(doc);
  }
}

std::string At(int c, int r) {
  return std::to_string(c) + "/" + std::to_string(r);
}

// Default headings but a typed one on column 7 and a 12-character one on row 256,
// data cells naming their place, marks on every third row, a width of its own
// for every column, and a selection away from (2,1).
Document Filled(int curCol, int curRow) {
  Document doc;
  SetUpGrid(doc);
  doc.grid.SetCell(7, 0, "typed");
  doc.grid.SetCell(1, kLastRow, "long heading");
  for (int r = 3; r <= kLastRow; r += 3) doc.grid.SetCell(0, r, kMark);
  for (int c = 1; c <= kLastCol; ++c) doc.grid.SetColWidth(c, 40 + c);
  for (int c = kFirstDataCol; c <= kLastCol; ++c)
    for (int r = kFirstDataRow; r <= kLastRow; ++r) doc.grid.SetCell(c, r, At(c, r));
  doc.grid.Select(5, 6);
  doc.CurCol = curCol;
  doc.CurRow = curRow;
  return doc;
}

// The first difference in cells, widths, selection or recorded cell; "" if none.
std::string Diff(const Document& a, const Document& b) {
  for (int c = 0; c < kColCount; ++c) {
    for (int r = 0; r < kRowCount; ++r)
      if (a.grid.Cell(c, r) != b.grid.Cell(c, r)) return "cell " + At(c, r);
    if (a.grid.ColWidth(c) != b.grid.ColWidth(c)) return "width " + std::to_string(c);
  }
  if (!(a.grid.Selection() == b.grid.Selection())) return "selection";
  return a.CurCol == b.CurCol && a.CurRow == b.CurRow ? "" : "recorded cell";
}

int Same(int i) {
  return i;
}

// `before` with each cell of rows 1..256 in columns firstCol..36 taken from
// (col(c), row(r)), empty off the grid, and each of those widths from col(c).
Document Moved(const Document& before, int firstCol, const Lines& col, const Lines& row) {
  Document want = before;
  for (int c = firstCol; c <= kLastCol; ++c) {
    want.grid.SetColWidth(c, before.grid.ColWidth(col(c)));
    for (int r = kFirstDataRow; r <= kLastRow; ++r)
      want.grid.SetCell(c, r, before.grid.Cell(col(c), row(r)));
  }
  return want;
}

TEST(RowsColumnsOffData, CommandsOutsideTheirDataLinesChangeNothing) {
  const std::vector<LineCommand> onColumn = {Call<CopyColumn>,         Call<CutColumn>,
                                             Call<PasteHeldLine>,      Call<DeleteColumn>,
                                             Call<InsertColumnBefore>, Call<InsertColumnAfter>};
  const std::vector<LineCommand> onRow = {Call<CopyRow>,         Call<CutRow>,
                                          Call<PasteHeldLine>,   Call<DeleteRow>,
                                          Call<InsertRowBefore>, Call<InsertRowAfter>};
  for (bool column : {true, false}) {
    for (int at : column ? std::vector{0, 1, -1, 37} : std::vector{0, -1, 257}) {
      const Document before = column ? Filled(at, 3) : Filled(4, at);
      const std::vector<LineCommand>& runs = column ? onColumn : onRow;
      for (std::size_t i = 0; i < runs.size(); ++i) {
        GridEditState state;  // holds a line of the command's kind
        (column ? CopyColumn : CopyRow)(Filled(4, 3), state);
        const std::vector<std::string> held = state.held.cells;
        Document doc = before;
        runs[i](doc, state);
        EXPECT_EQ(Diff(doc, before), "") << "command " << i << " at " << at;
        EXPECT_EQ(state.held.cells, held) << "command " << i << " at " << at;
      }
    }
  }
  for (const HeldLine& held :  // nothing held, or a line of the wrong length
       {HeldLine{}, HeldLine{HeldLine::Kind::Column, {"x"}}, HeldLine{HeldLine::Kind::Row, {}}}) {
    Document doc = Filled(4, 3);
    PasteHeldLine(doc, GridEditState{.held = held});
    EXPECT_EQ(Diff(doc, Filled(4, 3)), "") << held.cells.size();
  }
}

TEST(RowsColumnsCutPaste, ColumnKeepsHeadingAndWidthAndComesBackWholeAndFitted) {
  const Document original = Filled(7, 0);  // the column menu records row 0
  Document doc = original;
  GridEditState state;
  CutColumn(doc, state);
  EXPECT_TRUE(state.ColumnPasteEnabled() && !state.RowPasteEnabled());
  Document want = Moved(
      original, 0, [](int c) { return c == 7 ? -1 : c; }, Same);
  want.grid.SetColWidth(7, 47);
  EXPECT_EQ(Diff(doc, want), "");
  PasteHeldLine(doc, state);
  want = original;
  want.grid.SetColWidth(7, 35);  // fitted to "7/256"
  EXPECT_EQ(Diff(doc, want), "");
  doc.CurCol = 9;
  doc.CurRow = 5;
  PasteHeldLine(doc, state);  // again, elsewhere: the heading comes along
  EXPECT_EQ(doc.grid.Cell(9, 0), "typed");
  EXPECT_EQ(doc.CurRow, 0);
}

TEST(RowsColumnsCutPaste, RowKeepsOnlyItsHeadingAndComesBackWithMarkAndHeading) {
  const Document original = Filled(1, 3);
  Document doc = original;
  GridEditState state;
  CutRow(doc, state);
  EXPECT_TRUE(state.RowPasteEnabled() && !state.ColumnPasteEnabled());
  Document want = Moved(original, 0, Same, [](int r) { return r == 3 ? -1 : r; });
  want.grid.SetCell(1, 3, "  3");
  EXPECT_EQ(Diff(doc, want), "");
  PasteHeldLine(doc, state);
  EXPECT_EQ(Diff(doc, original), "");
  doc.CurRow = 7;
  PasteHeldLine(doc, state);  // again, elsewhere: row 7 has no mark of its own
  EXPECT_EQ(doc.grid.Cell(0, 7), kMark);
  EXPECT_EQ(doc.grid.Cell(1, 7), "  3");
  EXPECT_EQ(doc.grid.Cell(kLastCol, 7), At(kLastCol, 3));
}

// Lines from `first` on come from the next one (delete) or the one before
// (insert, `first` emptied); then one width is set and headings are renewed:
// a delete's on its own axis only, an insert's all, with the selection (2,1).
TEST(RowsColumnsShift, DeletesAndInsertsMoveWholeLinesAndRenewHeadings) {
  const struct {
    LineCommand run;
    bool onColumn, insert;
    int at, first, widthCol, width;
  } kCases[] = {
      {Call<DeleteColumn>, true, false, 2, 2, 36, 22},
      {Call<DeleteColumn>, true, false, 36, 36, 36, 22},
      {Call<DeleteRow>, false, false, 1, 1, -1, 0},
      {Call<DeleteRow>, false, false, 256, 256, -1, 0},
      {Call<InsertColumnBefore>, true, true, 2, 2, 2, 17},
      {Call<InsertColumnBefore>, true, true, 36, 36, 36, 17},
      {Call<InsertColumnAfter>, true, true, 35, 36, 36, 17},
      {Call<InsertColumnAfter>, true, true, 36, 37, -1, 0},
      {Call<InsertRowBefore>, false, true, 1, 1, 1, 23},  // row 256's long heading is lost
      {Call<InsertRowAfter>, false, true, 255, 256, 1, 23},
      {Call<InsertRowAfter>, false, true, 256, 257, 1, 77},  // fitted before renumbering
  };
  for (const auto& k : kCases) {
    Document doc = k.onColumn ? Filled(k.at, 5) : Filled(4, k.at);
    const Lines from = [&k](int i) {
      return i < k.first ? i : !k.insert ? i + 1 : i == k.first ? -1 : i - 1;
    };
    Document want = k.onColumn ? Moved(doc, kFirstDataCol, from, Same) : Moved(doc, 0, Same, from);
    want.grid.SetColWidth(k.widthCol, k.width);
    Document reset = want;
    reset.CurCol = 1;
    reset.CurRow = 0;
    ResetHeadings(reset);
    for (int c = kFirstDataCol; !k.insert && k.onColumn && c <= kLastCol; ++c)
      want.grid.SetCell(c, 0, reset.grid.Cell(c, 0));
    for (int r = kFirstDataRow; !k.insert && !k.onColumn && r <= kLastRow; ++r)
      want.grid.SetCell(1, r, reset.grid.Cell(1, r));
    GridEditState state;
    k.run(doc, state);
    EXPECT_EQ(Diff(doc, k.insert ? reset : want), "") << "case at " << k.at;
    EXPECT_EQ(doc.grid.Selection() == (GridSelection{2, 1, 2, 1}), k.insert) << k.at;
  }
}

}  // namespace
}  // namespace tabulon
