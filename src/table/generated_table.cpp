#include "table/generated_table.h"

#include <algorithm>

#include "document/cp932.h"
#include "table/comment_wrap.h"
#include "table/format.h"
#include "table/tab_text.h"

namespace tabulon {

namespace {

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

}  // namespace

ReadReport ReadGeneratedTable(Document& doc, const std::vector<std::string>& lines) {
  OptionState& o = doc.options;
  const std::string& l0 = lines[0];
  ReadReport report;
  report.kind = ReadReport::Kind::GeneratedTable;

  if (l0.size() < static_cast<std::size_t>(kMaxLineWidth)) {
    o.SetPosition(static_cast<int>(l0.size()));
    o.SetChecked(Option::Trim, true);
  }
  const GeneratedTableShape shape(l0);
  const bool box = shape.Box();
  const long topLeft = Pos(l0, box::TopLeft);
  o.SetChecked(box ? Option::BoxRules : Option::AsciiRules, true);
  const TableLayout layout = LayoutOfTopLine(l0);

  if (layout.title) {
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
      title = shape.Basic() ? Copy(l1, 3, n - 3) : Copy(l1, 2, n - 2);
    }
    o.SetTitle(std::string(StripText(title)));
    o.SetChecked(Option::Title, true);
  } else {
    o.SetTitle("");
    o.SetChecked(Option::Title, false);
  }

  std::size_t first;
  if (layout.columnHeadings) {
    o.SetChecked(Option::ColumnHeadings, true);
    first = o.Checked(Option::Title) ? 5 : 3;
  } else {
    o.SetChecked(Option::ColumnHeadings, false);
    first = o.Checked(Option::Title) ? 3 : 1;
  }
  const bool rowHeadings = layout.rowHeadings;
  o.SetChecked(Option::RowHeadings, rowHeadings);
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

GeneratedTableShape::GeneratedTableShape(std::string_view l0)
    : box_(PosWithin3(Pos(l0, box::TopLeft))), basic_(WrapOfFirstLine(l0) == WrapStyle::Basic) {}

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
