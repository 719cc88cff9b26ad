#include "table/reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "document/cp932.h"
#include "table/format.h"

namespace tabulon {

namespace {

constexpr int kDataFieldCount = kLastCol - kFirstDataCol + 1;  // fields 0 to 34

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  // memchr for each break character, remembering where the next CR and the
  // next LF are, keeps this fast on texts of many megabytes.
  std::vector<std::string> lines;
  const char* const end = text.data() + text.size();
  auto next = [end](const char* from, char ch) {
    const void* hit = std::memchr(from, ch, static_cast<std::size_t>(end - from));
    return hit ? static_cast<const char*>(hit) : end;
  };
  const char* p = text.data();
  const char* cr = next(p, '\r');
  const char* lf = next(p, '\n');
  while (p < end) {
    if (cr < p) cr = next(p, '\r');
    if (lf < p) lf = next(p, '\n');
    const char* brk = std::min(cr, lf);
    lines.emplace_back(p, brk);
    if (brk == end) break;
    p = brk + ((*brk == '\r' && brk + 1 < end && brk[1] == '\n') ? 2 : 1);
  }
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

namespace {

// The first TAB at or after `p`, or `end`. Most spreadsheet fields are
// short: a look at the next eight bytes at a time, twice, finds their end
// without a call to memchr.
const char* FindTab(const char* p, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    for (int i = 0; i < 2 && end - p >= 8; ++i, p += 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      const std::uint64_t x = word ^ 0x0909090909090909u;  // a TAB is now 0
      // The lowest byte that is 0 sets its high bit; bytes above it may too.
      const std::uint64_t zero = (x - 0x0101010101010101u) & ~x & 0x8080808080808080u;
      if (zero != 0) return p + std::countr_zero(zero) / 8;
    }
  }
  const void* tab = std::memchr(p, '\t', static_cast<std::size_t>(end - p));
  return tab ? static_cast<const char*>(tab) : end;
}

}  // namespace

void WidenToFields(ColumnWidths& w, std::string_view line, int firstCol) {
  const char* p = line.data();
  const char* const end = p + line.size();
  for (int c = std::max(firstCol, 0); c <= kLastCol; ++c) {
    const char* const tab = FindTab(p, end);
    w[c] = std::max(w[c], static_cast<int>(tab - p));
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

void WidenToRecord(ColumnWidths& w, const TabRecords& record, int firstCol) {
  for (std::size_t i = 0; i < record.FieldCount(); ++i) {
    const long c = firstCol + static_cast<long>(i);
    if (c > kLastCol) return;
    if (c < 0) continue;
    for (std::size_t k = 0; k < record.LineCount(i); ++k) {
      w[c] = std::max(w[c], ByteWidth(record.Line(i, k)));
    }
  }
}

namespace {

// A field of spreadsheet text as a cell: a number right-aligned to the
// column's text width, anything else without its trailing blanks.
std::string TabCellText(std::string_view field, int width) {
  return IsNumericText(StripText(field)) ? PadLeft(field, width)
                                         : std::string(StripTrailing(field));
}

}  // namespace

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

void ApplyTextWidths(Document& doc, const ColumnWidths& w) {
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    doc.grid.SetColWidth(c, std::max(kPixelsPerByte * w[c], 2 * kPixelsPerByte) + kColumnPaddingPx);
    WidenColWidth(doc, c);
  }
}

namespace {

using C = OptionControl;

// Stores the fields of one tab text line in grid row `row`, counting what
// falls outside the grid. `cell` turns a field into the cell's text.
template <typename CellText>
void StoreTabRow(Document& doc, std::size_t row, std::string_view line, ReadReport& report,
                 CellText cell) {
  if (row > static_cast<std::size_t>(kLastRow)) {
    if (!line.empty()) ++report.rowsLeftOut;
    return;
  }
  SplitTabFields(line, [&](int i, std::string_view f) {
    if (i >= kDataFieldCount) {
      if (!f.empty()) ++report.fieldsLeftOut;
      return;
    }
    doc.grid.SetCell(i + 2, static_cast<int>(row), cell(i + 2, f));
  });
}

// 1-based byte position of the first occurrence, found character by
// character; 0 when there is none.
long Pos(std::string_view text, std::string_view needle) {
  const std::size_t at = FindText(text, needle);
  return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
}

// `count` bytes from the 1-based byte position `from`; empty where the
// range lies outside the text.
std::string_view Copy(std::string_view text, long from, long count) {
  if (from < 1) from = 1;
  if (count <= 0 || from > static_cast<long>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(count));
}

bool PosWithin3(long pos) {
  return pos >= 1 && pos <= 3;
}

void EraseFirst(std::string& text, std::string_view what) {
  ReplaceFirst(text, what, "");
}

// Takes the comment mark that begins a title line off it: the mark with the
// blank it replaced, or else the bare mark. Only that one goes, so a title's
// own "'", "{" or "{ " stays.
void EraseMarker(std::string& title, std::string_view withBlank, std::string_view bare) {
  if (StartsWith(title, withBlank)) {
    title.erase(0, withBlank.size());
  } else if (StartsWith(title, bare)) {
    title.erase(0, bare.size());
  }
}

bool ContainsAny(std::string_view line, std::initializer_list<std::string_view> texts) {
  for (std::string_view t : texts) {
    if (ContainsText(line, t)) return true;
  }
  return false;
}

// The widths the first rule line below the top line gives, all 0 when there
// is none, and the last grid column it gives one for (0 when none).
struct RuleWidths {
  ColumnWidths w{};
  int lastCol = 0;
};

RuleWidths WidthsFromRuleLine(const std::vector<std::string>& lines,
                              const GeneratedTableShape& shape, bool rowHeadings) {
  RuleWidths rule;
  ColumnWidths& w = rule.w;
  for (std::size_t r = 1; r < lines.size(); ++r) {
    if (!shape.IsWidthRule(lines[r])) continue;
    std::string line = lines[r];
    if (shape.Box()) {
      for (std::string_view junction : {box::TopT, box::Cross, box::BottomT}) {
        ReplaceAllChars(line, junction, ",");
      }
      for (std::string_view corner : {box::LeftT, box::RightT, box::BottomLeft, box::BottomRight}) {
        ReplaceFirst(line, corner, ",");
      }
    } else {
      // A comment wrap's closing pair ("-}" or "*/") took the place of the
      // bottom line's last "-+"; read it as that corner so the last column
      // keeps its width.
      if (line.ends_with("-}") || line.ends_with("*/")) line.back() = '+';
      std::replace(line.begin(), line.end(), '+', ',');
    }
    std::vector<std::string_view> items;
    for (std::string_view rest = line;;) {
      const std::size_t comma = rest.find(',');
      items.push_back(rest.substr(0, comma));
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
    const int k = static_cast<int>(items.size());
    for (int j = kFirstDataCol; j <= kLastCol; ++j) {
      if (rowHeadings ? j > k - 2 : j > k - 1) break;
      w[j] = ByteWidth(items[rowHeadings ? j : j - 1]);
      rule.lastCol = j;
    }
    break;
  }
  return rule;
}

// The 0-based byte positions of the column bars of a line ("|", or the box
// style's vertical line), found character by character.
std::vector<std::size_t> BarPositions(std::string_view line, std::string_view bar) {
  std::vector<std::size_t> at;
  for (std::size_t p = 0; p < line.size(); p += CharLength(line, p)) {
    if (line.compare(p, bar.size(), bar) == 0) at.push_back(p);
  }
  return at;
}

// Whether a data line's bars stand where the rule line puts them (the left
// border, the row heading's bar, and one after each column the rule gives)
// with nothing but blanks after the last.
bool BarsWhereRuleSays(std::string_view line, const std::vector<std::size_t>& bars,
                       const RuleWidths& rule, long dataStart, long separator) {
  const auto has = [&bars](long pos1) {  // a 1-based position
    return std::binary_search(bars.begin(), bars.end(), static_cast<std::size_t>(pos1 - 1));
  };
  if (!has(1) || !has(dataStart - separator)) return false;
  long cursor = dataStart;
  for (int c = kFirstDataCol; c <= rule.lastCol; ++c) {
    if (!has(cursor + rule.w[c])) return false;
    cursor += rule.w[c] + separator;
  }
  return IsBlankText(Copy(line, cursor, static_cast<long>(line.size())));
}

// A data line touched by hand, its bars no longer where the rule line puts
// them: its cells are the texts between its own bars, without trailing
// blanks. The row heading's field is passed over; text outside the outer
// bars is kept, before the first cell or as a cell of its own after the last.
// `bars` holds at least one bar.
void StoreOwnBarCells(Document& doc, int row, std::string_view line,
                      const std::vector<std::size_t>& bars, std::size_t barSize, bool rowHeadings) {
  std::vector<std::string_view> pieces;
  std::size_t from = 0;
  for (std::size_t at : bars) {
    pieces.push_back(line.substr(from, at - from));
    from = at + barSize;
  }
  pieces.push_back(line.substr(std::min(from, line.size())));
  std::string before(IsBlankText(pieces.front()) ? std::string_view() : pieces.front());
  const std::size_t first = rowHeadings && pieces.size() > 2 ? 2 : 1;
  if (pieces.size() > first + 1 && IsBlankText(pieces.back())) pieces.pop_back();
  int col = kFirstDataCol;
  for (std::size_t i = first; i < pieces.size() && col <= kLastCol; ++i, ++col) {
    std::string text = i == first ? before + std::string(pieces[i]) : std::string(pieces[i]);
    doc.grid.SetCell(col, row, std::string(StripTrailing(text)));
  }
  for (; col <= kLastCol; ++col) doc.grid.SetCell(col, row, "");
}

// A table this program wrote, in any comment wrapping: the options from the
// layout marker and the top line, the widths from the first rule line, the
// cells and continuation marks from the data lines.
ReadReport ReadGeneratedTable(Document& doc, const std::vector<std::string>& lines) {
  OptionState& o = doc.options;
  const std::string& l0 = lines[0];
  ReadReport report;
  report.kind = ReadReport::Kind::GeneratedTable;

  if (l0.size() < static_cast<std::size_t>(kMaxLineWidth)) {
    o.SetPosition(static_cast<int>(l0.size()));
    o.SetChecked(C::CheckBox4, true);
  }
  const GeneratedTableShape shape(l0);
  const bool box = shape.Box();
  const long topLeft = Pos(l0, box::TopLeft);
  o.SetChecked(box ? C::RadioButton2 : C::RadioButton1, true);

  if (ContainsAny(l0, {"^---==-^", "^---=--^", "^----=-^", "^------^"})) {
    const std::string_view l1 = lines[1];
    const long n = static_cast<long>(l1.size());
    std::string_view title;
    if (box) {
      const long topRight = Pos(l0, box::TopRight);
      const std::vector<std::size_t> bars = BarPositions(l1, box::Vertical);
      const auto at = [&bars](long pos1) {
        return std::binary_search(bars.begin(), bars.end(), static_cast<std::size_t>(pos1 - 1));
      };
      if (bars.size() >= 2 && !(at(topLeft) && at(topRight))) {
        // A title line touched by hand: the text between its outer bars.
        title = Copy(l1, static_cast<long>(bars.front()) + 3,
                     static_cast<long>(bars.back() - bars.front()) - 2);
      } else {
        title = Copy(l1, topLeft + 2, topRight - topLeft - 2);
      }
    } else {
      title = StartsWith(l0, "'") ? Copy(l1, 3, n - 3) : Copy(l1, 2, n - 2);
    }
    o.SetTitle(std::string(StripText(title)));
    o.SetChecked(C::CheckBox3, true);
  } else {
    o.SetTitle("");
    o.SetChecked(C::CheckBox3, false);
  }

  std::size_t first;
  if (ContainsAny(l0, {"^--===-^", "^--==--^", "^---==-^", "^---=--^"})) {
    o.SetChecked(C::CheckBox1, true);
    first = o.Checked(C::CheckBox3) ? 5 : 3;
  } else {
    o.SetChecked(C::CheckBox1, false);
    first = o.Checked(C::CheckBox3) ? 3 : 1;
  }
  const bool rowHeadings = ContainsAny(l0, {"^--===-^", "^--=-=-^", "^---==-^", "^----=-^"});
  o.SetChecked(C::CheckBox2, rowHeadings);
  const long dataStart = rowHeadings ? (box ? 9 : 6) : (box ? 3 : 2);
  const long separator = box ? 2 : 1;

  const RuleWidths rule = WidthsFromRuleLine(lines, shape, rowHeadings);
  const ColumnWidths& w = rule.w;
  const std::string_view ruleStart = shape.RuleStart();
  const std::string_view bar = shape.Bar();
  std::size_t row = 0;
  for (std::size_t r = first; r + 1 < lines.size(); ++r) {
    const std::string_view working = shape.Working(lines[r]);
    if (!shape.IsRow(working)) continue;
    if (++row > static_cast<std::size_t>(kLastRow)) {
      if (!working.empty()) ++report.rowsLeftOut;
      continue;
    }
    const int gridRow = static_cast<int>(row);
    const std::vector<std::size_t> bars = BarPositions(working, bar);
    if (rule.lastCol >= kFirstDataCol && !bars.empty() &&
        !BarsWhereRuleSays(working, bars, rule, dataStart, separator)) {
      StoreOwnBarCells(doc, gridRow, working, bars, bar.size(), rowHeadings);
    } else {
      long cursor = dataStart;
      for (int c = kFirstDataCol; c <= kLastCol; ++c) {
        doc.grid.SetCell(c, gridRow, std::string(StripTrailing(Copy(working, cursor, w[c]))));
        cursor += w[c] + separator;
      }
    }
    const bool ruleAbove = ContainsText(lines[r - 1], ruleStart);
    doc.grid.SetCell(0, gridRow, ruleAbove ? std::string() : std::string(ContinuationMark));
  }
  ApplyTextWidths(doc, w);
  doc.grid.Select(kFirstDataCol, kFirstDataRow);
  return report;
}

}  // namespace

// Tab text as the writer makes it without ruled lines, wrapped as a comment:
// the title from the first line, a row from every other line.
ReadReport ReadWrappedTabText(Document& doc, std::vector<std::string>& lines, WrappedForm form,
                              UnmarkedTitle unmarked) {
  if (lines.empty()) return {};
  ColumnWidths w{};
  std::string title;
  switch (form) {
    case WrappedForm::A:  // Basic, no title
      for (std::string& line : lines) {
        EraseFirst(line, "'");
        WidenToFields(w, line);
      }
      lines.insert(lines.begin(), std::string());
      break;
    case WrappedForm::B:  // Basic, with a title line
      title = lines[0];
      EraseMarker(title, "' ", "'");
      for (std::size_t r = 1; r < lines.size(); ++r) {
        EraseFirst(lines[r], "'");
        WidenToFields(w, lines[r]);
      }
      break;
    case WrappedForm::C:  // braces, slash-star or plain
      if (StartsWith(lines[0], "{")) {
        title = lines[0];
        EraseMarker(title, "{ ", "{");
      } else if (StartsWith(lines[0], "/*")) {
        title = lines[0];
        EraseFirst(title, "/*");
      } else if (unmarked == UnmarkedTitle::Keep) {
        title = doc.options.Title();
      }
      for (std::size_t r = 1; r + 1 < lines.size(); ++r) WidenToFields(w, lines[r]);
      if (const std::string_view last = StripText(lines.back()); last == "}" || last == "*/") {
        lines.back().clear();
      }
      break;
  }
  doc.options.SetTitle(title);
  doc.options.SetChecked(C::CheckBox3, !IsBlankText(title));

  ReadReport report;
  report.kind = ReadReport::Kind::WrappedTabText;
  for (std::size_t r = 1; r < lines.size(); ++r) {
    StoreTabRow(doc, r, lines[r], report,
                [](int, std::string_view f) { return std::string(StripTrailing(f)); });
  }
  ApplyTextWidths(doc, w);
  doc.options.SetChecked(C::CheckBox5, false);
  return report;
}

namespace {

// Spreadsheet text with quoted fields: each record from the row below the
// one before, one grid row for each line of its tallest field.
ReadReport ReadTabRecords(Document& doc, const std::vector<std::string>& lines) {
  ColumnWidths w{};
  for (TabRecords records(lines); records.Next();) WidenToRecord(w, records, kFirstDataCol);
  ReadReport report;
  report.kind = ReadReport::Kind::PlainTabText;
  std::size_t row = kFirstDataRow;
  for (TabRecords records(lines); records.Next(); row += records.Rows()) {
    StoreTabRecord(doc, kFirstDataCol, row, records, w, &report);
  }
  ApplyTextWidths(doc, w);
  return report;
}

}  // namespace

ReadReport ReadPlainTabText(Document& doc, const std::vector<std::string>& lines, bool quotes) {
  if (quotes && HasQuotedField(lines)) return ReadTabRecords(doc, lines);
  ColumnWidths w{};
  for (const std::string& line : lines) WidenToFields(w, line);
  ReadReport report;
  report.kind = ReadReport::Kind::PlainTabText;
  for (std::size_t r = 0; r < lines.size(); ++r) {
    StoreTabRow(doc, r + 1, lines[r], report, [&](int c, std::string_view f) {
      return IsNumericText(StripText(f)) ? PadLeft(f, w[c]) : std::string(StripTrailing(f));
    });
  }
  ApplyTextWidths(doc, w);
  return report;
}

namespace {

// How a ruled table's first line begins in each of the program's wraps (the
// box corner's wraps also hold its mark alone).
constexpr std::string_view kTableStarts[] = {
    "+-^-", "{-^-", "/*^-", "'+-^-", "\x84\xa1^-", "{\x84\xa1^-", "/*\x84\xa1^-", "'\x84\xa1^-"};

}  // namespace

bool HasGeneratedTablePrefix(std::string_view line0) {
  return std::any_of(std::begin(kTableStarts), std::end(kTableStarts),
                     [line0](std::string_view start) { return ContainsText(line0, start); });
}

std::string_view TablePrefix(std::string_view line0) {
  const auto blanksFrom = [line0](std::size_t p) {
    while (p < line0.size() && (line0[p] == ' ' || line0[p] == '\t')) ++p;
    return p;
  };
  const auto tableAt = [line0](std::size_t p) {
    return std::any_of(std::begin(kTableStarts), std::end(kTableStarts),
                       [&](std::string_view s) { return line0.substr(p).starts_with(s); });
  };
  const std::size_t indent = blanksFrom(0);
  if (tableAt(indent)) return line0.substr(0, indent);
  for (std::string_view leader : {"//", "#", "--", ";", "%", "*", "REM"}) {
    std::size_t p = indent;
    while (line0.substr(p).starts_with(leader)) p += leader.size();
    if (p == indent) continue;
    p = blanksFrom(p);
    return tableAt(p) ? line0.substr(0, p) : std::string_view();
  }
  return {};
}

ReadReport ReadTabCells(Document& doc, std::string_view text) {
  return ReadPlainTabText(doc, SplitLines(text));
}

ReadReport ReadClipboardText(Document& doc, std::string_view text) {
  std::vector<std::string> lines = SplitLines(text);
  return ReadClipboardLines(doc, lines);
}

ReadReport ReadClipboardLines(Document& doc, std::vector<std::string>& lines) {
  if (!lines.empty()) {
    if (const std::string prefix(TablePrefix(lines[0])); !prefix.empty()) {
      for (std::string& line : lines) {
        if (line.starts_with(prefix)) line.erase(0, prefix.size());
      }
    }
  }
  const std::optional<std::string_view> l1 =
      lines.size() > 1 ? std::optional<std::string_view>(lines[1]) : std::nullopt;
  switch (lines.empty() ? TextForm::Nothing
                        : FormOfText(lines[0], l1, QuotedFirstFieldBeforeTab(lines))) {
    case TextForm::GeneratedTable:
      return ReadGeneratedTable(doc, lines);
    case TextForm::TabText: {
      // Most spreadsheet text holds no quote: one look at each line spares
      // the search for quoted fields.
      const bool quotes = std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return std::memchr(line.data(), '"', line.size()) != nullptr;
      });
      return ReadPlainTabText(doc, lines, quotes);
    }
    case TextForm::WrappedA:
      return ReadWrappedTabText(doc, lines, WrappedForm::A);
    case TextForm::WrappedB:
      return ReadWrappedTabText(doc, lines, WrappedForm::B);
    case TextForm::WrappedC:
      return ReadWrappedTabText(doc, lines, WrappedForm::C);
    case TextForm::Nothing:
      break;
  }
  if (lines.size() < 2) doc.grid.Select(kFirstDataCol, kFirstDataRow);
  return {};
}

TextForm FormOfText(std::string_view l0, std::optional<std::string_view> l1,
                    bool quotedFirstField) {
  const bool generated = HasGeneratedTablePrefix(l0);
  const bool tab = ContainsText(l0, "\t");
  // One spreadsheet row: a line and its break.
  if (!l1) return tab && !generated ? TextForm::TabText : TextForm::Nothing;
  if (generated) return TextForm::GeneratedTable;
  const bool quoted = StartsWith(l0, "'");
  if (!quoted && (tab || quotedFirstField)) return TextForm::TabText;
  if (!ContainsText(*l1, "\t")) return TextForm::Nothing;
  if (quoted) return tab ? TextForm::WrappedA : TextForm::WrappedB;
  return TextForm::WrappedC;
}

GeneratedTableShape::GeneratedTableShape(std::string_view l0)
    : box_(PosWithin3(Pos(l0, box::TopLeft))), basic_(StartsWith(l0, "'")) {}

std::string_view GeneratedTableShape::Bar() const {
  return box_ ? box::Vertical : "|";
}

std::string_view GeneratedTableShape::RuleStart() const {
  return box_ ? box::LeftT : "+";
}

bool GeneratedTableShape::IsWidthRule(std::string_view line) const {
  return box_ ? PosWithin3(Pos(line, box::LeftT)) || PosWithin3(Pos(line, box::BottomLeft))
              : PosWithin3(Pos(line, "+"));
}

std::string_view GeneratedTableShape::Working(std::string_view line) const {
  // Basic wrapping of a box table: every line loses its first byte, even an
  // empty line that has none to lose.
  return QuoteDropped(line) ? Copy(line, 2, static_cast<long>(line.size())) : StripText(line);
}

}  // namespace tabulon
