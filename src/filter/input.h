// Standard input of tabulon-filter, read a line at a time. The grid holds at
// most 256 rows, so only the lines that can reach it are kept and converted;
// the lines below them are measured and counted on the fly. Memory follows
// what is kept, not the size of the input.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "document/document.h"
#include "preview/comment_wrap.h"
#include "table/reader.h"

namespace tabulon {

struct InputOutcome {
  std::size_t replaced = 0;  // characters CP932 lacks, each written as "?"
  int readError = 0;         // errno of a failed read; 0 once the input was read to its end
  std::string prefix;        // the table's line prefix (TablePrefix), taken off its lines
  // The comment wrap of a table or of wrapped tab text read; plain for
  // anything else.
  WrapStyle wrap = WrapStyle::Plain;
  // Whether every byte is a blank or a control character (a UTF-8 byte-order
  // mark aside), so that no cell can be read; its runs of equal bytes then
  // give the input back unchanged.
  bool blank = true;
  std::vector<std::pair<char, std::size_t>> blankRuns;
};

// Reads `in` (UTF-8 after an optional byte-order mark, or CP932 when `utf8`
// is false) into the grid exactly as ReadClipboardText reads the whole text
// converted with Utf8ToCp932, and then, where that reads nothing, as
// ReadPlainTabText reads the lines: the same cells, widths, options and
// report. Run SetUpGrid first. After a read error the document is left
// unread.
ReadReport ReadFilterInput(Document& doc, std::istream& in, bool utf8, InputOutcome& outcome);

}  // namespace tabulon
