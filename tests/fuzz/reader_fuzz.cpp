// Fuzz target: arbitrary bytes as clipboard text. The reader must keep the
// grid's invariants, and the writer must lay out whatever it read.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "document/document.h"
#include "invariants.h"
#include "table/reader.h"
#include "table/writer.h"

namespace {

using tabulon::fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabulon;
  static Document* doc = new Document;  // reused: the paste path reads over old cells too
  SetUpGrid(*doc);
  ReadClipboardText(*doc, std::string_view(reinterpret_cast<const char*>(data), size));

  const Grid& g = doc->grid;
  Check(g.ColWidth(0) == kHiddenColWidth && g.ColWidth(1) == 23, "fixed column widths");
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    Check(g.ColWidth(c) >= 17 && (g.ColWidth(c) - kColumnPaddingPx) % kPixelsPerByte == 0,
          "data column width of the form 6n+5, at least 17");
  }
  for (int r = kFirstDataRow; r <= kLastRow; ++r) {
    Check(g.Cell(0, r).empty() || g.Cell(0, r) == ContinuationMark, "column 0 holds marks only");
    Check(g.Cell(1, r).size() == 3, "row headings untouched");
  }
  fuzz::CheckOptionsAndTable(*doc);
  // Fresh options now and then, as ClearTable gives after a file load.
  if (size % 7 == 0) ClearTable(*doc);
  return 0;
}
