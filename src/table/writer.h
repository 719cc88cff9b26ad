// The table writer: lays the grid out as table text under the options and
// the width limit. It is the core of the "作成する" button.
#pragma once

#include <string>
#include <vector>

#include "document/document.h"

namespace tabulon {

// The table's lines, and its width T, the width of the rule line (0 in the
// no-rule style, which has none): the comment wrap needs it.
struct WrittenTable {
  std::vector<std::string> lines;
  int ruleWidth = 0;
};
// What the line width did.
struct LineFit {
  int width = kMaxLineWidth;  // the width limit of the table's lines
  int columnsLeftOut = 0;     // columns with text after the last one that fitted
};
// Finds the used rows and columns, widens the used columns, and lays the
// table out. Leaves CurRow = 0 and CurCol at the last widened column. When
// `fit` is given, it gets what the line width did.
WrittenTable WriteTable(Document& doc, LineFit* fit = nullptr);

// The last used data row and column; 0 (no data row or column) when none
// is used. A row is used when its cells, each followed by CR LF and
// stripped as one text, are wider than three columns; a column, wider than
// two. The table and the numbering of rows and columns end there.
int FindLastRow(const Grid& grid);
int FindLastCol(const Grid& grid);

}  // namespace tabulon
