// What every fuzz target checks after the document has taken outside text:
// sound options, and a table the writer lays out at its width. And how the
// targets split their input and reuse their document between runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/codec.h"
#include "document/document.h"
#include "document/text_columns.h"
#include "table/writer.h"

namespace tabulon::fuzz {

// The document every run of a target starts from: set up once, and brought
// back to that state after each run by ResetDocument, which also frees all
// the run took: libFuzzer runs again, and leak-checks, every run that ends
// with more allocations than frees.
inline Document& SetUpDocument() {
  static Document* const doc = [] {
    auto* d = new Document;
    SetUpGrid(*d);
    return d;
  }();
  return *doc;
}

// Brings any document back to what a new one is after SetUpGrid (cells,
// widths, headings, options, selection, scroll and the recorded cell),
// freeing what its texts took, without building a new grid.
inline void ResetDocument(Document& doc) {
  Grid& g = doc.grid;
  for (int c = 0; c < kColCount; ++c) {
    if (c != 1) g.EmptyColumn(c);  // SetUpGrid writes the row headings over column 1
  }
  g.ScrollTo(kFirstDataCol, kFirstDataRow);
  doc.options.RestoreDefaults();
  SetUpGrid(doc);
}

// An input may begin with an earlier text ended by a record separator
// (0x1E): a target takes it as it would have in an earlier run over the same
// document, then the rest, the text it checks (which may hold more 0x1E).
inline constexpr char kTextSeparator = '\x1e';

// Calls earlier(text) for the earlier text, if any, and returns the rest.
template <typename Earlier>
std::string_view SplitEarlierText(std::string_view input, Earlier&& earlier) {
  const std::size_t end = input.find(kTextSeparator);
  if (end == std::string_view::npos) return input;
  earlier(input.substr(0, end));
  return input.substr(end + 1);
}

// The text the document holds, from the bytes of a fuzz input: the one place
// that says how an input becomes such text. UTF-8 is taken as it stands; other
// bytes are read as CP932, as the filter reads them, so the corpus of code
// page text keeps its meaning.
inline std::string InsideText(std::string_view input) {
  Replacements told;
  return BadUtf8Count(input) == 0 ? std::string(input) : DecodeCp932(input, told);
}

inline void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// The options stay consistent, and every line of the written table (but
// the title) is exactly the table's width.
inline void CheckOptionsAndTable(Document& doc) {
  const OptionState& o = doc.options;
  Check(o.Checked(Option::AsciiRules) != o.Checked(Option::BoxRules), "one line style");
  Check(o.Position() >= kMinLineWidth && o.Position() <= kMaxLineWidth, "width in range");
  Check(!(o.Checked(Option::Trim) && o.Checked(Option::FixedWidth)), "cut and width exclude");
  Check(o.Enabled(Option::WidthArrows) ==
            (o.Checked(Option::FixedWidth) && o.Enabled(Option::FixedWidth)),
        "width arrows follow 桁数");

  const WrittenTable table = WriteTable(doc);
  const int T = table.ruleWidth;
  if (o.Checked(Option::Ruled)) {
    Check(T >= 11 && T <= kMaxLineWidth, "table width");
    const std::size_t titleLine = o.Checked(Option::Title) ? 1 : SIZE_MAX;
    for (std::size_t i = 0; i < table.lines.size(); ++i) {
      if (i != titleLine) {
        Check(Columns(table.lines[i]) == T, "line width T");
      }
    }
  }
}

}  // namespace tabulon::fuzz
