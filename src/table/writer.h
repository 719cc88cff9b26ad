// The table writer: lays the grid out as table text under the options and
// the width limit. It is the core of the "作成する" button.
#pragma once

#include "document/document.h"

namespace tabulon {

// Finds the used rows and columns, widens the used columns, and fills
// doc.TableLines with the table. Returns the table width T, the width of the
// rule line (0 in the no-rule style, which has none); the comment wrap needs
// it. Leaves CurRow = 0 and CurCol at the last widened column. The last grid
// column the table shows, whole or narrowed, goes to `lastShownCol` when given:
// used columns after it did not fit in the line width.
int WriteTable(Document& doc, int* lastShownCol = nullptr);

// The last used data row (1 when none is used) and column (0 when none is).
int FindLastRow(const Grid& grid);
int FindLastCol(const Grid& grid);

}  // namespace tabulon
