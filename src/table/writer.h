// The table writer: lays the grid out as table text under the options and
// the width limit. It is the core of the "作成する" button.
#pragma once

#include "document/document.h"

namespace tabulon {

// Finds the used rows and columns, widens the used columns, and fills
// doc.TableLines with the table. Returns the table width T, the width of the
// rule line (0 in the no-rule style, which has none); the comment wrap needs
// it. Leaves CurRow = 0 and CurCol at the last widened column. When `fit` is
// given, it gets what the line width did.
struct LineFit {
  int width = kMaxLineWidth;  // the width limit of the table's lines
  int columnsLeftOut = 0;     // columns with text after the last one that fitted
};
int WriteTable(Document& doc, LineFit* fit = nullptr);

// The last used data row (1 when none is used) and column (0 when none is).
int FindLastRow(const Grid& grid);
int FindLastCol(const Grid& grid);

}  // namespace tabulon
