#include "table/generated_table.h"

#include <algorithm>
#include <optional>

#include "document/blanks.h"
#include "document/text_columns.h"
#include "table/comment_wrap.h"
#include "table/format.h"
#include "table/tab_text.h"

namespace tabulon {

namespace {

// 1-based column of the first occurrence, found character by character; 0
// when there is none.
long Pos(std::string_view text, std::string_view needle) {
  const std::size_t at = FindText(text, needle);
  return at == std::string_view::npos ? 0 : ColumnAtByte(text, at) + 1;
}

// `count` columns from the 1-based column `from`; empty where the range
// lies outside the text.
std::string_view Copy(std::string_view text, long from, long count) {
  return ColumnSlice(text, std::max(from, 1L) - 1, count);
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
      w[j] = Columns(items[rowHeadings ? j : j - 1]);
      rule.lastCol = j;
    }
    break;
  }
  return rule;
}

// The column bars of a line ("|", or the box style's vertical line), found
// character by character: 0-based byte offsets to cut at, and the 0-based
// columns they stand at, both ascending.
struct Bars {
  std::vector<std::size_t> bytes;
  std::vector<long> columns;
  bool empty() const { return bytes.empty(); }
  // Whether a bar stands at the 1-based column `pos1`.
  bool At(long pos1) const { return std::binary_search(columns.begin(), columns.end(), pos1 - 1); }
};

Bars BarPositions(std::string_view line, std::string_view bar) {
  Bars bars;
  std::size_t from = 0;
  long column = 0;
  for (std::size_t at = FindText(line, bar); at != std::string_view::npos;
       at = FindText(line, bar, from)) {
    column += Columns(line.substr(from, at - from));
    bars.bytes.push_back(at);
    bars.columns.push_back(column);
    column += Columns(bar);
    from = at + bar.size();
  }
  return bars;
}

// Whether a data line's bars stand where the rule line puts them (the left
// border, the row heading's bar, and one after each column the rule gives)
// with nothing but blanks after the last.
bool BarsWhereRuleSays(std::string_view line, const Bars& bars, const RuleWidths& rule,
                       long dataStart, long separator) {
  if (!bars.At(1) || !bars.At(dataStart - separator)) return false;
  long cursor = dataStart;
  for (int c = kFirstDataCol; c <= rule.lastCol; ++c) {
    if (!bars.At(cursor + rule.w[c])) return false;
    cursor += rule.w[c] + separator;
  }
  return IsBlankText(Copy(line, cursor, Columns(line)));
}

WidthRule OtherRule(WidthRule rule) {
  return rule == WidthRule::Wide ? WidthRule::Narrow : WidthRule::Wide;
}

int ColumnsUnder(WidthRule rule, std::string_view text) {
  const WidthRuleScope scope(rule);
  return Columns(text);
}

// A line up to the end of its last `corner` (all of it where it has none):
// a comment wrap's closing mark may follow the bottom line's.
std::string_view ToCorner(std::string_view line, std::string_view corner) {
  const std::size_t at = line.rfind(corner);
  return at == std::string_view::npos ? line : line.substr(0, at + corner.size());
}

// The width rule a box table was written under. Its corners and rules take
// two columns by the default rule and one by the narrow one, and the top
// line and the first rule line below it (the one that gives the widths) are
// equally wide under the rule they were written by. A table of the narrow
// rule never meets it under the default one: its top line holds the
// marker's eight ASCII columns where the rule line has box characters. One
// of the default rule may under both, where its rule line holds eight more
// "-" (odd widths' halves) than a title's top line; the default it is then.
// None where the lines do not tell, touched by hand.
std::optional<WidthRule> BoxTableRule(const std::vector<std::string>& lines,
                                      const GeneratedTableShape& shape) {
  const auto found = std::find_if(lines.begin() + 1, lines.end(),
                                  [&](const std::string& line) { return shape.IsWidthRule(line); });
  if (found == lines.end()) return std::nullopt;
  const std::string_view top = ToCorner(lines[0], box::TopRight);
  const std::string_view rule = ToCorner(ToCorner(*found, box::BottomRight), box::RightT);
  const bool wide = ColumnsUnder(WidthRule::Wide, top) == ColumnsUnder(WidthRule::Wide, rule);
  const bool narrow = ColumnsUnder(WidthRule::Narrow, top) == ColumnsUnder(WidthRule::Narrow, rule);
  if (wide) return WidthRule::Wide;
  return narrow ? std::optional(WidthRule::Narrow) : std::nullopt;
}

// A data line touched by hand, its bars no longer where the rule line puts
// them: its cells are the texts between its own bars, without trailing
// blanks. The row heading's field is passed over; text outside the outer
// bars is kept, before the first cell or as a cell of its own after the last.
// `bars` holds at least one bar.
void StoreOwnBarCells(Document& doc, int row, std::string_view line, const Bars& bars,
                      std::size_t barSize, bool rowHeadings) {
  std::vector<std::string_view> pieces;
  std::size_t from = 0;
  for (std::size_t at : bars.bytes) {
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
  const GeneratedTableShape shape(l0);
  const bool box = shape.Box();
  // The table is measured by the rule it was written under, and the caller's
  // rule comes back after. A box table tells it by its top and rule lines;
  // an ASCII table's rule lines read alike under both, and a row holding
  // characters the rules count differently tells it below.
  report.widthRule = box ? BoxTableRule(lines, shape) : std::nullopt;
  const WidthRuleScope widthRule(report.widthRule.value_or(CurrentWidthRule()));

  if (Columns(l0) < kMaxLineWidth) {
    o.SetPosition(Columns(l0));
    o.SetChecked(Option::Trim, true);
  }
  const long topLeft = Pos(l0, box::TopLeft);
  o.SetChecked(box ? Option::BoxRules : Option::AsciiRules, true);
  const TableLayout layout = LayoutOfTopLine(l0);

  if (layout.title) {
    const std::string_view l1 = lines[1];
    const long n = Columns(l1);
    std::string_view title;
    if (box) {
      const long topRight = Pos(l0, box::TopRight);
      const long bar = Columns(box::Vertical);
      const Bars bars = BarPositions(l1, box::Vertical);
      if (bars.columns.size() >= 2 && !(bars.At(topLeft) && bars.At(topRight))) {
        // A title line touched by hand: the text between its outer bars.
        title = Copy(l1, bars.columns.front() + bar + 1,
                     bars.columns.back() - bars.columns.front() - bar);
      } else {
        title = Copy(l1, topLeft + bar, topRight - topLeft - bar);
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
  const std::string_view bar = shape.Bar();
  // The columns between cells, a bar's, and the 1-based column where the
  // first cell begins: after a bar, or after the row heading's field (4
  // columns in a box, 3 else) between two bars.
  const long separator = Columns(bar);
  const long dataStart = rowHeadings ? 2 * separator + (box ? 4 : 3) + 1 : separator + 1;

  const RuleWidths rule = WidthsFromRuleLine(lines, shape, rowHeadings);
  const ColumnWidths& w = rule.w;
  const std::string_view ruleStart = shape.RuleStart();
  std::size_t row = 0;
  for (std::size_t r = first; r + 1 < lines.size(); ++r) {
    const std::string_view working = shape.Working(lines[r]);
    if (!shape.IsRow(working)) continue;
    if (++row > static_cast<std::size_t>(kLastRow)) {
      if (!working.empty()) ++report.rowsLeftOut;
      continue;
    }
    const int gridRow = static_cast<int>(row);
    Bars bars = BarPositions(working, bar);
    bool fits = rule.lastCol < kFirstDataCol || bars.empty() ||
                BarsWhereRuleSays(working, bars, rule, dataStart, separator);
    if (!fits && !box && !report.widthRule) {
      // A row whose bars stand where the rule line says only under the other
      // rule was written under it: so was the table. (A box table's rule
      // line gives other widths under the other rule: its rows tell nothing
      // its rule lines did not.)
      SetWidthRule(OtherRule(CurrentWidthRule()));
      Bars other = BarPositions(working, bar);
      fits = BarsWhereRuleSays(working, other, rule, dataStart, separator);
      if (fits) {
        report.widthRule = CurrentWidthRule();
        bars = std::move(other);
      } else {
        SetWidthRule(OtherRule(CurrentWidthRule()));
      }
    }
    if (!fits) {
      StoreOwnBarCells(doc, gridRow, working, bars, bar.size(), rowHeadings);
    } else {
      ColumnSlicer cells(working);
      long cursor = dataStart - 1;  // 0-based
      for (int c = kFirstDataCol; c <= kLastCol; ++c) {
        doc.grid.SetCell(c, gridRow, std::string(StripTrailing(cells.Slice(cursor, w[c]))));
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
  // Basic wrapping of a box table: every line loses its first column, even
  // an empty line that has none to lose.
  return QuoteDropped(line) ? Copy(line, 2, Columns(line)) : StripText(line);
}

}  // namespace tabulon
