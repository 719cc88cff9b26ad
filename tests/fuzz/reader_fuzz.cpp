// Fuzz target: arbitrary bytes as clipboard text. The reader must keep the
// grid's invariants, and the writer must lay out whatever it read.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "document/document.h"
#include "table/reader.h"
#include "table/writer.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabulon;
  using C = OptionControl;
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
  const OptionState& o = doc->options;
  Check(o.Checked(C::RadioButton1) != o.Checked(C::RadioButton2), "one line style");
  Check(o.Position() >= kMinLineWidth && o.Position() <= kMaxLineWidth, "width in range");
  Check(!(o.Checked(C::CheckBox4) && o.Checked(C::CheckBox6)), "cut and width exclude");
  Check(o.Enabled(C::UpDown1) == (o.Checked(C::CheckBox6) && o.Enabled(C::CheckBox6)),
        "width arrows follow 桁数");

  const int T = WriteTable(*doc);
  if (o.Checked(C::CheckBox5)) {
    Check(T >= 11 && T <= kMaxLineWidth, "table width");
    const std::size_t titleLine = o.Checked(C::CheckBox3) ? 1 : SIZE_MAX;
    for (std::size_t i = 0; i < doc->TableLines.size(); ++i) {
      if (i != titleLine)
        Check(doc->TableLines[i].size() == static_cast<std::size_t>(T), "line width T");
    }
  }
  // Fresh options now and then, as ClearTable gives after a file load.
  if (size % 7 == 0) ClearTable(*doc);
  return 0;
}
