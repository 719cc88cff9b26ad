#include "table/reader.h"

#include <algorithm>

#include "document/cp932.h"

namespace tabulon {

namespace {

constexpr int kDataFieldCount = kLastCol - kFirstDataCol + 1;  // fields 0 to 34

// Lines below grid row 256 that hold anything.
long RowsBeyondGrid(const std::vector<std::string>& lines, std::size_t firstLeftOut) {
  long n = 0;
  for (std::size_t i = firstLeftOut; i < lines.size(); ++i) n += lines[i].empty() ? 0 : 1;
  return n;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string_view> SplitTabFields(std::string_view line) {
  std::vector<std::string_view> fields;
  SplitTabFields(line, [&](int, std::string_view f) { fields.push_back(f); });
  return fields;
}

bool IsNumericText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char ch) {
    return (ch >= '0' && ch <= '9') || ch == '+' || ch == ',' || ch == '-' || ch == '.' ||
           ch == '\\';
  });
}

void ApplyTextWidths(Document& doc, const ColumnWidths& w) {
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    doc.grid.SetColWidth(c, std::max(kPixelsPerByte * w[c], 2 * kPixelsPerByte) + kColumnPaddingPx);
    WidenColWidth(doc, c);
  }
}

ReadReport ReadPlainTabText(Document& doc) {
  const auto& lines = doc.TableLines;
  ColumnWidths w{};
  for (const std::string& line : lines) {
    SplitTabFields(line, [&](int i, std::string_view f) {
      if (i < kDataFieldCount) w[i + 2] = std::max(w[i + 2], ByteWidth(f));
    });
  }
  ReadReport report;
  report.kind = ReadReport::Kind::PlainTabText;
  const std::size_t rows = std::min<std::size_t>(lines.size(), kLastRow);
  for (std::size_t r = 0; r < rows; ++r) {
    SplitTabFields(lines[r], [&](int i, std::string_view f) {
      if (i >= kDataFieldCount) {
        if (!f.empty()) ++report.fieldsLeftOut;
        return;
      }
      const int c = i + 2;
      const int row = static_cast<int>(r) + 1;
      if (IsNumericText(StripText(f))) {
        doc.grid.SetCell(c, row, PadLeft(f, w[c]));
      } else {
        doc.grid.SetCell(c, row, std::string(StripTrailing(f)));
      }
    });
  }
  report.rowsLeftOut = RowsBeyondGrid(lines, rows);
  ApplyTextWidths(doc, w);
  return report;
}

ReadReport ReadClipboardText(Document& doc, std::string_view text) {
  doc.TableLines = SplitLines(text);
  const auto& lines = doc.TableLines;
  if (lines.size() < 2) {
    doc.grid.Select(kFirstDataCol, kFirstDataRow);
    return {};
  }
  const std::string& l0 = lines[0];
  for (std::string_view prefix : {"{-^-", "/*^-", "+-^-", "'+-^-", "\x84\xa1^-"}) {
    // Generated tables are read back by a reader still to come; until then
    // they are read as nothing, like any text that is not recognised.
    if (ContainsText(l0, prefix)) {
      doc.grid.Select(kFirstDataCol, kFirstDataRow);
      return {};
    }
  }
  if (ContainsText(l0, "\t") && !StartsWith(l0, "'")) return ReadPlainTabText(doc);
  return {};
}

}  // namespace tabulon
