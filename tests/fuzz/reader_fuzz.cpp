// Fuzz target: arbitrary bytes as clipboard text. The reader must keep the
// grid's invariants, and the writer must lay out whatever it read.
//
// Input: the clipboard text. A text before it, ended by 0x1E, is read first
// into the same grid, set up again before the second read, so the checked
// read lands on the cells and options the first one left.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "document/document.h"
#include "document/inside_text.h"
#include "invariants.h"
#include "table/reader.h"
#include "table/rich_cells.h"
#include "table/writer.h"

namespace {

using tabulon::fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabulon;
  Document& doc = fuzz::SetUpDocument();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view text = fuzz::SplitEarlierText(input, [&](std::string_view earlier) {
    ReadClipboardText(doc, fuzz::InsideText(earlier));
    SetUpGrid(doc);
  });
  // Text that begins with a tag is also read as an HTML table, as the filter
  // reads such input and the window the clipboard's HTML.
  if (text.starts_with("<")) {
    if (const std::optional<std::string> cells = TabTextFromHtml(text)) {
      ReadTabCells(doc, InsideFromUtf8(*cells));
    } else {
      ReadClipboardText(doc, fuzz::InsideText(text));
    }
  } else {
    ReadClipboardText(doc, fuzz::InsideText(text));
  }

  const Grid& g = doc.grid;
  Check(g.ColWidth(0) == kHiddenColWidth && g.ColWidth(1) == 23, "fixed column widths");
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    Check(g.ColWidth(c) >= 17 && (g.ColWidth(c) - kColumnPaddingPx) % kPixelsPerColumn == 0,
          "data column width of the form 6n+5, at least 17");
  }
  for (int r = kFirstDataRow; r <= kLastRow; ++r) {
    Check(g.Cell(0, r).empty() || g.Cell(0, r) == ContinuationMark, "column 0 holds marks only");
    Check(g.Cell(1, r).size() == 3, "row headings untouched");
  }
  fuzz::CheckOptionsAndTable(doc);
  fuzz::ResetDocument(doc);
  return 0;
}
