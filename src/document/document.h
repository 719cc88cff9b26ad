// Everything the main window holds for the table being edited: the grid,
// the option state and the shared state fields, with the grid operations
// that every editing step calls.
#pragma once

#include <string>
#include <vector>

#include "document/grid.h"
#include "document/options.h"

namespace tabulon {

struct Document {
  Grid grid;
  OptionState options;
  int CurCol = 1;  // the current cell: under the last mouse press or key press
  int CurRow = 0;
};

// Default headings: rows "  1" to "256", columns "a" to "z" then "1" to "9".
// Selects the single cell (2, 1); touches no data cell or width.
void ResetHeadings(Document& doc);
// One kind of them alone, touching nothing else.
void ResetRowHeadings(Grid& g);
void ResetColumnHeadings(Grid& g);

// Snug width of column c's data cells (rows 1 to 256), at least two columns.
void FitColWidth(Document& doc, int c);

// Widens column c to its widest data cell; a width of the form 6n+5 never
// narrows.
void WidenColWidth(Document& doc, int c);

// Empties the grid, restores the headings, the widths and the options.
void ClearTable(Document& doc);

// The first steps of the window's creation: headings, fitted widths, the
// hidden marker column, the corner cell and an empty title.
void SetUpGrid(Document& doc);

}  // namespace tabulon
