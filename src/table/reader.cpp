#include "table/reader.h"

#include <algorithm>
#include <cstring>

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

void WidenToFields(ColumnWidths& w, std::string_view line, int firstCol) {
  for (int c = std::max(firstCol, 0); c <= kLastCol; ++c) {
    const std::size_t tab = line.find('\t');
    w[c] = std::max(w[c], ByteWidth(line.substr(0, tab)));
    if (tab == std::string_view::npos) return;
    line.remove_prefix(tab + 1);
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

// Column widths from the first rule line below the top line; all 0 when
// there is none.
ColumnWidths WidthsFromRuleLine(const std::vector<std::string>& lines, bool box, bool rowHeadings) {
  ColumnWidths w{};
  for (std::size_t r = 1; r < lines.size(); ++r) {
    std::string line = lines[r];
    if (box) {
      if (!PosWithin3(Pos(line, box::LeftT)) && !PosWithin3(Pos(line, box::BottomLeft))) continue;
      for (std::string_view junction : {box::TopT, box::Cross, box::BottomT}) {
        ReplaceAllChars(line, junction, ",");
      }
      for (std::string_view corner : {box::LeftT, box::RightT, box::BottomLeft, box::BottomRight}) {
        ReplaceFirst(line, corner, ",");
      }
    } else {
      if (!PosWithin3(Pos(line, "+"))) continue;
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
    }
    break;
  }
  return w;
}

// A table this program wrote, in any comment wrapping: the options from the
// layout marker and the top line, the widths from the first rule line, the
// cells and continuation marks from the data lines.
ReadReport ReadGeneratedTable(Document& doc) {
  const std::vector<std::string>& lines = doc.TableLines;
  OptionState& o = doc.options;
  const std::string& l0 = lines[0];
  ReadReport report;
  report.kind = ReadReport::Kind::GeneratedTable;

  if (l0.size() < static_cast<std::size_t>(kMaxLineWidth)) {
    o.SetPosition(static_cast<int>(l0.size()));
    o.SetChecked(C::CheckBox4, true);
  }
  const long topLeft = Pos(l0, box::TopLeft);
  const bool box = PosWithin3(topLeft);
  o.SetChecked(box ? C::RadioButton2 : C::RadioButton1, true);

  if (ContainsAny(l0, {"^---==-^", "^---=--^", "^----=-^", "^------^"})) {
    const std::string_view l1 = lines[1];
    const long n = static_cast<long>(l1.size());
    std::string_view title;
    if (box) {
      title = Copy(l1, topLeft + 2, Pos(l0, box::TopRight) - topLeft - 2);
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

  const ColumnWidths w = WidthsFromRuleLine(lines, box, rowHeadings);
  const std::string_view ruleStart = box ? box::LeftT : "+";
  const bool basic = StartsWith(l0, "'");
  std::size_t row = 0;
  for (std::size_t r = first; r + 1 < lines.size(); ++r) {
    const std::string_view line = lines[r];
    const bool dropQuote = box ? basic : StartsWith(line, "'");
    // Basic wrapping of a box table: every line loses its first byte, even an
    // empty line that has none to lose.
    const std::string_view working =
        dropQuote ? Copy(line, 2, static_cast<long>(line.size())) : StripText(line);
    if (StartsWith(working, ruleStart)) continue;
    if (++row > static_cast<std::size_t>(kLastRow)) {
      if (!working.empty()) ++report.rowsLeftOut;
      continue;
    }
    const int gridRow = static_cast<int>(row);
    long cursor = dataStart;
    for (int c = kFirstDataCol; c <= kLastCol; ++c) {
      doc.grid.SetCell(c, gridRow, std::string(StripTrailing(Copy(working, cursor, w[c]))));
      cursor += w[c] + separator;
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
ReadReport ReadWrappedTabText(Document& doc, WrappedForm form, UnmarkedTitle unmarked) {
  std::vector<std::string>& lines = doc.TableLines;
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

ReadReport ReadPlainTabText(Document& doc) {
  const std::vector<std::string>& lines = doc.TableLines;
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

bool HasGeneratedTablePrefix(std::string_view line0) {
  return ContainsAny(line0, {"{-^-", "/*^-", "+-^-", "'+-^-", "\x84\xa1^-"});
}

ReadReport ReadClipboardText(Document& doc, std::string_view text) {
  doc.TableLines = SplitLines(text);
  const std::vector<std::string>& lines = doc.TableLines;
  if (lines.size() < 2) {
    doc.grid.Select(kFirstDataCol, kFirstDataRow);
    return {};
  }
  const std::string& l0 = lines[0];
  if (HasGeneratedTablePrefix(l0)) return ReadGeneratedTable(doc);
  const bool quoted = StartsWith(l0, "'");
  const bool tab = ContainsText(l0, "\t");
  if (tab && !quoted) return ReadPlainTabText(doc);
  if (!ContainsText(lines[1], "\t")) return {};
  if (quoted) return ReadWrappedTabText(doc, tab ? WrappedForm::A : WrappedForm::B);
  return ReadWrappedTabText(doc, WrappedForm::C);
}

}  // namespace tabulon
