#include "table/tab_text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "document/blanks.h"
#include "document/find_tab.h"
#include "document/text_columns.h"

namespace tabulon {

bool IsNumericText(std::string_view text) {
  constexpr std::string_view kYen = "\u00A5";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if ((ch >= '0' && ch <= '9') || ch == '+' || ch == ',' || ch == '-' || ch == '.' ||
        ch == '\\') {
      continue;
    }
    if (text.compare(i, kYen.size(), kYen) != 0) return false;
    i += kYen.size() - 1;
  }
  return true;
}

void WidenToFields(ColumnWidths& w, std::string_view line, int firstCol) {
  const char* p = line.data();
  const char* const end = p + line.size();
  for (int c = std::max(firstCol, 0); c <= kLastCol; ++c) {
    const char* const tab = FindTab(p, end);
    w[c] = std::max(w[c], Columns(std::string_view(p, static_cast<std::size_t>(tab - p))));
    if (tab == end) return;
    p = tab + 1;
  }
}

namespace {

// The closing quote of a quoted field: line and byte of the text's lines.
struct QuoteEnd {
  std::size_t line = 0, at = 0;
};

// Where the field that the double quote at byte `at` of line `r` opens ends,
// when that quote opens a quoted field (see HasQuotedField). A doubled quote
// is one quote; the first quote that is not doubled must close the field.
bool FindClosingQuote(const std::vector<std::string>& lines, std::size_t r, std::size_t at,
                      QuoteEnd& end) {
  if (at + 1 == lines[r].size()) return false;  // the text would begin with a line break
  bool lineBreak = false, doubled = false;
  std::size_t line = r, p = at + 1;
  for (;;) {
    const std::string& l = lines[line];
    while (p < l.size() && l[p] != '"' && l[p] != '\t') ++p;
    if (p == l.size()) {
      if (line + 1 == lines.size()) return false;  // no closing quote
      lineBreak = true;
      ++line;
      p = 0;
      continue;
    }
    if (l[p] == '\t') return false;
    if (p + 1 < l.size() && l[p + 1] == '"') {
      doubled = true;
      p += 2;
      continue;
    }
    if (p + 1 < l.size() && l[p + 1] != '\t') return false;  // a lone quote inside
    const bool endsWithBreak = line > r && p == 0;
    if (!(lineBreak || doubled) || endsWithBreak) return false;
    end = {line, p};
    return true;
  }
}

}  // namespace

bool HasQuotedField(const std::vector<std::string>& lines) {
  // Before the first quoted field every line start and every byte after a
  // TAB begins a field, so each such quote can be tried on its own. A try
  // that fails far below stops at the first TAB, and the quotes that begin
  // lines on its way fail within their first bytes, so this stays linear.
  QuoteEnd end;
  for (std::size_t r = 0; r < lines.size(); ++r) {
    const std::string& l = lines[r];
    for (std::size_t q = l.find('"'); q != std::string::npos; q = l.find('"', q + 1)) {
      if ((q == 0 || l[q - 1] == '\t') && FindClosingQuote(lines, r, q, end)) return true;
    }
  }
  return false;
}

bool QuotedFirstFieldBeforeTab(const std::vector<std::string>& lines) {
  QuoteEnd end;
  return !lines.empty() && StartsWith(lines[0], "\"") && FindClosingQuote(lines, 0, 0, end) &&
         end.at + 1 < lines[end.line].size();
}

bool TabRecords::Next() {
  if (next_ >= lines_.size()) return false;
  fields_.clear();
  pieces_.clear();
  buffer_.clear();
  const std::size_t first = next_;
  std::size_t line = first, pos = 0;
  for (;;) {
    const std::string_view l = lines_[line];
    fields_.push_back({pieces_.size(), 0});
    QuoteEnd end;
    if (pos < l.size() && l[pos] == '"' && FindClosingQuote(lines_, line, pos, end)) {
      for (std::size_t r = line; r <= end.line; ++r) {
        const std::size_t from = r == line ? pos + 1 : 0;
        const std::size_t to = r == end.line ? end.at : lines_[r].size();
        AddPiece(std::string_view(lines_[r]).substr(from, to - from), true);
      }
      line = end.line;
      pos = end.at + 1;  // a TAB, or the end of the line
      if (pos < lines_[line].size()) {
        ++pos;
        continue;
      }
      break;
    }
    const std::size_t tab = l.find('\t', pos);
    AddPiece(l.substr(pos, tab == std::string_view::npos ? l.size() - pos : tab - pos), false);
    if (tab == std::string_view::npos) break;
    pos = tab + 1;
  }
  next_ = line + 1;
  empty_ = line == first && lines_[first].empty();
  rows_ = 0;
  for (const Field& f : fields_) rows_ = std::max(rows_, f.count);
  return true;
}

void TabRecords::AddPiece(std::string_view text, bool quoted) {
  ++fields_.back().count;
  if (!quoted || text.find('"') == std::string_view::npos) {
    pieces_.push_back({text.data(), 0, text.size()});
    return;
  }
  // Inside a quoted field every quote is one of a doubled pair.
  const std::size_t offset = buffer_.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    buffer_ += text[i];
    if (text[i] == '"') ++i;
  }
  pieces_.push_back({nullptr, offset, buffer_.size() - offset});
}

std::string_view TabRecords::Line(std::size_t field, std::size_t line) const {
  const Piece& p = pieces_[fields_[field].first + line];
  return p.text ? std::string_view(p.text, p.size)
                : std::string_view(buffer_).substr(p.offset, p.size);
}

namespace {

// Widens w[firstCol + i] to the widest line of field i of a record, for the
// fields that land in grid columns up to 36.
void WidenToRecord(ColumnWidths& w, const TabRecords& record, int firstCol) {
  for (std::size_t i = 0; i < record.FieldCount(); ++i) {
    const long c = firstCol + static_cast<long>(i);
    if (c > kLastCol) return;
    if (c < 0) continue;
    for (std::size_t k = 0; k < record.LineCount(i); ++k) {
      w[c] = std::max(w[c], Columns(record.Line(i, k)));
    }
  }
}

// A field of spreadsheet text as a cell: a number right-aligned to the
// column's text width, anything else without its trailing blanks.
std::string TabCellText(std::string_view field, int width) {
  return IsNumericText(StripText(field)) ? PadLeft(field, width)
                                         : std::string(StripTrailing(field));
}

// Stores a record with field 0 at (firstCol, firstRow) and one grid row for
// each line of its tallest field: each line as StoreTabLine stores a field
// (numbers right-aligned to w[column]), and fields with fewer lines are
// empty in the rows below. A record of several rows marks every row after
// its first as a continuation and its first as none. With a report, what
// falls outside the grid is counted: rows of a record that is not one empty
// line, and non-empty fields of a record whose first row is stored.
void StoreTabRecord(Document& doc, int firstCol, std::size_t firstRow, const TabRecords& record,
                    const ColumnWidths& w, ReadReport* report) {
  const std::size_t rows = record.Rows();
  for (std::size_t k = 0; k < rows; ++k) {
    const std::size_t row = firstRow + k;
    if (row > static_cast<std::size_t>(kLastRow)) {
      if (report && !record.Empty()) report->rowsLeftOut += static_cast<long>(rows - k);
      return;
    }
    const int gridRow = static_cast<int>(row);
    for (std::size_t i = 0; i < record.FieldCount(); ++i) {
      const long c = firstCol + static_cast<long>(i);
      if (c > kLastCol) {
        if (report && k == 0) {
          for (std::size_t j = i; j < record.FieldCount(); ++j) {
            if (record.LineCount(j) > 1 || !record.Line(j, 0).empty()) ++report->fieldsLeftOut;
          }
        }
        break;
      }
      const int col = static_cast<int>(c);
      doc.grid.SetCell(col, gridRow,
                       k < record.LineCount(i) ? TabCellText(record.Line(i, k), w[col]) : "");
    }
    if (rows > 1)
      doc.grid.SetCell(0, gridRow, k == 0 ? std::string() : std::string(ContinuationMark));
  }
}

}  // namespace

void StoreTabLine(Document& doc, int firstCol, std::size_t row, std::string_view line,
                  const ColumnWidths* numbersTo, ReadReport* report) {
  if (row > static_cast<std::size_t>(kLastRow)) {
    if (report && !line.empty()) ++report->rowsLeftOut;
    return;
  }
  SplitTabFields(line, [&](int i, std::string_view f) {
    const int c = firstCol + i;
    if (c > kLastCol) {
      if (report && !f.empty()) ++report->fieldsLeftOut;
      return;
    }
    doc.grid.SetCell(c, static_cast<int>(row),
                     numbersTo ? TabCellText(f, (*numbersTo)[c]) : std::string(StripTrailing(f)));
  });
}

ColumnWidths StoreTabText(Document& doc, const std::vector<std::string>& lines, bool quotes,
                          int firstCol, std::size_t firstRow, ReadReport* report) {
  ColumnWidths w{};
  // Without a report, nothing below the grid is looked at once measured.
  const auto more = [&](std::size_t row) {
    return report || row <= static_cast<std::size_t>(kLastRow);
  };
  if (quotes && HasQuotedField(lines)) {
    for (TabRecords records(lines); records.Next();) WidenToRecord(w, records, firstCol);
    std::size_t row = firstRow;
    for (TabRecords records(lines); more(row) && records.Next(); row += records.Rows()) {
      StoreTabRecord(doc, firstCol, row, records, w, report);
    }
    return w;
  }
  for (const std::string& line : lines) WidenToFields(w, line, firstCol);
  for (std::size_t r = 0; r < lines.size() && more(firstRow + r); ++r) {
    StoreTabLine(doc, firstCol, firstRow + r, lines[r], &w, report);
  }
  return w;
}

void ApplyTextWidths(Document& doc, const ColumnWidths& w) {
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    doc.grid.SetColWidth(c, ColWidthOfText(std::max(w[c], 2)));
    WidenColWidth(doc, c);
  }
}

ReadReport ReadPlainTabText(Document& doc, const std::vector<std::string>& lines, bool quotes) {
  ReadReport report;
  report.kind = ReadReport::Kind::PlainTabText;
  ApplyTextWidths(doc, StoreTabText(doc, lines, quotes, kFirstDataCol, kFirstDataRow, &report));
  return report;
}

}  // namespace tabulon
