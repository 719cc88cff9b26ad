#include "table/markdown.h"

#include <algorithm>
#include <array>

#include "document/blanks.h"
#include "document/text_columns.h"

namespace tabulon {

namespace {

constexpr std::string_view kBreak = "<br>";

constexpr bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t';
}

std::size_t BlanksFrom(std::string_view s, std::size_t p) {
  while (p < s.size() && IsBlank(s[p])) ++p;
  return p;
}

constexpr char Lower(char ch) {
  return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

constexpr bool IsLetter(char ch) {
  return Lower(ch) >= 'a' && Lower(ch) <= 'z';
}

constexpr bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

bool StartsWithNoCase(std::string_view s, std::string_view lowerPrefix) {
  if (s.size() < lowerPrefix.size()) return false;
  for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
    if (Lower(s[i]) != lowerPrefix[i]) return false;
  }
  return true;
}

// Calls cell(text) for each cell of a row's text, as the parser cuts it: an
// outer "|" at either end belongs to no cell, and a "|" after a backslash
// is text. Returns the number of cells; a lone "|" has none.
template <typename Fn>
std::size_t ForEachCell(std::string_view row, Fn&& cell) {
  row = StripText(row);
  if (row.starts_with('|')) row.remove_prefix(1);
  std::size_t count = 0, from = 0;
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (row[i] == '\\' && i + 1 < row.size() && row[i + 1] == '|') {
      ++i;
    } else if (row[i] == '|') {
      cell(row.substr(from, i - from));
      ++count;
      from = i + 1;
    }
  }
  if (from < row.size()) {
    cell(row.substr(from));
    ++count;
  }
  return count;
}

std::size_t CellCount(std::string_view row) {
  return ForEachCell(row, [](std::string_view) {});
}

// Bytes of a line break tag at `at` ("<br>", "<br/>", "<br />", in any
// case), or 0.
std::size_t BreakAt(std::string_view s, std::size_t at) {
  if (s.size() - at < 4 || s[at] != '<' || Lower(s[at + 1]) != 'b' || Lower(s[at + 2]) != 'r') {
    return 0;
  }
  std::size_t p = BlanksFrom(s, at + 3);
  if (p < s.size() && s[p] == '/') ++p;
  return p < s.size() && s[p] == '>' ? p + 1 - at : 0;
}

// Calls line(text) for each line of a cell, the text between its line
// break tags; returns how many.
template <typename Fn>
int ForEachCellLine(std::string_view cell, Fn&& line) {
  int count = 0;
  std::size_t from = 0;
  for (std::size_t at = cell.find('<'); at != std::string_view::npos; at = cell.find('<', at + 1)) {
    if (const std::size_t size = BreakAt(cell, at); size > 0) {
      line(cell.substr(from, at - from));
      ++count;
      from = at + size;
      at = from - 1;
    }
  }
  line(cell.substr(from));
  return count + 1;
}

int CellLines(std::string_view cell) {
  return ForEachCellLine(cell, [](std::string_view) {});
}

bool IsDelimiterCell(std::string_view cell) {
  cell = StripText(cell);
  if (cell.starts_with(':')) cell.remove_prefix(1);
  if (cell.ends_with(':')) cell.remove_suffix(1);
  return !cell.empty() && cell.find_first_not_of('-') == std::string_view::npos;
}

// The cells of a delimiter row; 0 where the text is none: a line of dashes
// alone underlines a heading, and "- " begins a list item.
std::size_t DelimiterCells(std::string_view text) {
  const std::string_view t = StripText(text);
  if (t.find('|') == std::string_view::npos && t.find_first_not_of('-') == std::string_view::npos) {
    return 0;
  }
  if (t.size() >= 2 && t[0] == '-' && IsBlank(t[1])) return 0;
  bool all = true;
  const std::size_t cells =
      ForEachCell(t, [&](std::string_view cell) { all = all && IsDelimiterCell(cell); });
  return all ? cells : 0;
}

// The names of HTML's block elements, which begin an HTML block wherever
// their tag stands at the start of a line.
constexpr std::string_view kBlockTags[] = {
    "address",  "article",  "aside",    "base",       "basefont", "blockquote", "body",   "caption",
    "center",   "col",      "colgroup", "dd",         "details",  "dialog",     "dir",    "div",
    "dl",       "dt",       "fieldset", "figcaption", "figure",   "footer",     "form",   "frame",
    "frameset", "h1",       "h2",       "h3",         "h4",       "h5",         "h6",     "head",
    "header",   "hr",       "html",     "iframe",     "legend",   "li",         "link",   "main",
    "menu",     "menuitem", "nav",      "noframes",   "ol",       "optgroup",   "option", "p",
    "param",    "section",  "source",   "summary",    "table",    "tbody",      "td",     "tfoot",
    "th",       "thead",    "title",    "tr",         "track",    "ul"};

// The end of a tag name from `p` (letters, digits and '-' after a letter).
std::size_t TagNameEnd(std::string_view t, std::size_t p) {
  if (p >= t.size() || !IsLetter(t[p])) return p;
  while (p < t.size() && (IsLetter(t[p]) || IsDigit(t[p]) || t[p] == '-')) ++p;
  return p;
}

// Whether `t` is one whole opening or closing tag and blanks after it.
bool IsLoneTag(std::string_view t) {
  std::size_t p = 1;
  const bool closing = p < t.size() && t[p] == '/';
  if (closing) ++p;
  const std::size_t name = p;
  p = TagNameEnd(t, p);
  if (p == name) return false;
  if (!closing) {
    // Attributes: a name, and "=" with a value, quoted or not.
    for (;;) {
      const std::size_t blanks = BlanksFrom(t, p);
      if (blanks == p || blanks >= t.size()) break;
      const char ch = t[blanks];
      if (!(IsLetter(ch) || ch == '_' || ch == ':')) break;
      p = blanks + 1;
      while (p < t.size() && (IsLetter(t[p]) || IsDigit(t[p]) || t[p] == '_' || t[p] == '.' ||
                              t[p] == ':' || t[p] == '-')) {
        ++p;
      }
      const std::size_t eq = BlanksFrom(t, p);
      if (eq >= t.size() || t[eq] != '=') continue;
      p = BlanksFrom(t, eq + 1);
      if (p >= t.size()) return false;
      if (t[p] == '"' || t[p] == '\'') {
        const std::size_t close = t.find(t[p], p + 1);
        if (close == std::string_view::npos) return false;
        p = close + 1;
      } else {
        const std::size_t end = t.find_first_of(" \t\"'=<>`", p);
        if (end == p) return false;
        p = end == std::string_view::npos ? t.size() : end;
      }
    }
  }
  p = BlanksFrom(t, p);
  if (!closing && p < t.size() && t[p] == '/') ++p;
  if (p >= t.size() || t[p] != '>') return false;
  return IsBlankText(t.substr(p + 1));
}

// Whether a line that begins with '<' begins an HTML block.
bool BeginsHtmlBlock(std::string_view t) {
  for (std::string_view raw : {"script", "pre", "style", "textarea"}) {
    if (StartsWithNoCase(t.substr(1), raw)) {
      const std::size_t after = 1 + raw.size();
      if (after == t.size() || IsBlank(t[after]) || t[after] == '>') return true;
    }
  }
  if (t.starts_with("<!--") || t.starts_with("<?") || t.starts_with("<![CDATA[")) return true;
  if (t.size() > 2 && t[1] == '!' && t[2] >= 'A' && t[2] <= 'Z') return true;
  const std::size_t name = t.size() > 1 && t[1] == '/' ? 2 : 1;
  const std::size_t end = TagNameEnd(t, name);
  std::string lower(t.substr(name, end - name));
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  if (std::find(std::begin(kBlockTags), std::end(kBlockTags), lower) != std::end(kBlockTags) &&
      (end == t.size() || IsBlank(t[end]) || t[end] == '>' || t.substr(end).starts_with("/>"))) {
    return true;
  }
  return IsLoneTag(t);
}

// Whether a line (its prefix off) begins another block than a table row:
// code indented four columns, a block quote, an ATX heading, a fence, a
// thematic break, a list item or an HTML block.
bool BeginsOtherBlock(std::string_view s) {
  int indent = 0;
  std::size_t p = 0;
  for (; p < s.size() && IsBlank(s[p]); ++p)
    indent = s[p] == '\t' ? (indent / 4 + 1) * 4 : indent + 1;
  if (indent >= 4) return true;
  const std::string_view t = s.substr(p);
  if (t.empty()) return false;
  const char c = t[0];
  const auto endsOrBlank = [t](std::size_t i) { return i >= t.size() || IsBlank(t[i]); };
  if (c == '>') return true;
  if (c == '#') {
    const std::size_t n = std::min(t.find_first_not_of('#'), t.size());
    return n <= 6 && endsOrBlank(n);
  }
  if (t.starts_with("~~~")) return true;
  if (t.starts_with("```")) {  // a fence's info text holds no backquote
    const std::size_t info = t.find_first_not_of('`');
    return info == std::string_view::npos || t.find('`', info) == std::string_view::npos;
  }
  if (c == '-' || c == '*' || c == '_') {
    std::size_t marks = 0;
    bool rule = true;
    for (const char ch : t) {
      if (ch == c) {
        ++marks;
      } else if (!IsBlank(ch)) {
        rule = false;
      }
    }
    if (rule && marks >= 3) return true;
  }
  if ((c == '-' || c == '+' || c == '*') && endsOrBlank(1)) return true;
  if (IsDigit(c)) {
    const std::size_t n = std::min(t.find_first_not_of("0123456789"), t.size());
    if (n <= 9 && n < t.size() && (t[n] == '.' || t[n] == ')') && endsOrBlank(n + 1)) return true;
  }
  return c == '<' && BeginsHtmlBlock(t);
}

// The prefixes a table's line may stand behind, longest first: its
// indentation with block-quote marks or a comment leader and the blanks
// after them, then its indentation alone.
std::array<std::string_view, 2> PrefixCandidates(std::string_view line) {
  const std::size_t indent = BlanksFrom(line, 0);
  std::size_t p = indent;
  while (line.substr(p).starts_with('>')) p = BlanksFrom(line, p + 1);  // nested or not
  for (std::string_view leader : kCommentLeaders) {
    if (p > indent) break;
    while (line.substr(p).starts_with(leader)) p += leader.size();
    if (p > indent) p = BlanksFrom(line, p);
  }
  return {line.substr(0, p), line.substr(0, indent)};
}

// Whether the lines hold a table's header and delimiter rows at `header`
// behind `prefix`, with a title line and an empty one above when `header`
// is 2.
bool TableAt(std::span<const std::string> lines, std::size_t header, std::string_view prefix) {
  const std::string_view h = lines[header], d = lines[header + 1];
  if (!h.starts_with(prefix) || !d.starts_with(prefix)) return false;
  const std::string_view headerRow = h.substr(prefix.size()),
                         delimiterRow = d.substr(prefix.size());
  const std::size_t cells = DelimiterCells(delimiterRow);
  if (cells == 0 || IsBlankText(headerRow) || BeginsOtherBlock(headerRow) ||
      CellCount(headerRow) != cells) {
    return false;
  }
  if (headerRow.find('|') == std::string_view::npos &&
      delimiterRow.find('|') == std::string_view::npos) {
    return false;
  }
  return header == 0 || (lines[0].starts_with(prefix) && !BlankBehindPrefix(lines[0], prefix) &&
                         BlankBehindPrefix(lines[1], prefix));
}

std::string Unescaped(std::string_view cell) {
  std::string text;
  text.reserve(cell.size());
  for (std::size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] == '\\' && i + 1 < cell.size() && cell[i + 1] == '|') ++i;
    text += cell[i];
  }
  return text;
}

// Stores one row of `height` grid rows from grid row `row` (see
// StoreMarkdownTable).
void StoreRow(Document& doc, std::string_view text, long row, int height, int firstCol,
              std::size_t headerCells, ColumnWidths& w, ReadReport* report) {
  if (row > kLastRow) {
    if (report) report->rowsLeftOut += height;
    return;
  }
  const int rows = static_cast<int>(std::min<long>(height, kLastRow - row + 1));
  if (report) report->rowsLeftOut += height - rows;
  const int top = static_cast<int>(row);
  int col = firstCol;
  const auto empty = [&](int from) {
    for (int k = from; k < rows; ++k) doc.grid.SetCell(col, top + k, "");
  };
  ForEachCell(text, [&](std::string_view cell) {
    if (col > kLastCol) {
      if (report && !IsBlankText(cell)) ++report->fieldsLeftOut;
      return;
    }
    int k = 0;
    ForEachCellLine(Unescaped(cell), [&](std::string_view line) {
      if (k >= rows) return;
      const std::string_view trimmed = StripText(line);
      w[col] = std::max(w[col], Columns(trimmed));
      doc.grid.SetCell(col, top + k++, std::string(trimmed));
    });
    empty(k);
    ++col;
  });
  for (; col < firstCol + static_cast<int>(headerCells) && col <= kLastCol; ++col) empty(0);
  if (height > 1) {
    for (int k = 0; k < rows; ++k) {
      doc.grid.SetCell(0, top + k, k == 0 ? std::string() : std::string(ContinuationMark));
    }
  }
}

}  // namespace

std::optional<MarkdownStart> FindMarkdownTable(std::span<const std::string> lines) {
  for (const std::size_t header : {std::size_t{0}, std::size_t{2}}) {
    if (lines.size() < header + 2) break;
    const auto [marked, indent] = PrefixCandidates(lines[header + 1]);
    for (const std::string_view prefix : {marked, indent}) {
      if (TableAt(lines, header, prefix)) return MarkdownStart{std::string(prefix), header};
      if (marked == indent) break;
    }
  }
  return std::nullopt;
}

bool BeginsMarkdownTable(std::string_view text) {
  std::vector<std::string> lines;
  while (lines.size() < kMarkdownHeadLines && !text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end);
    if (text.starts_with("\r\n")) {
      text.remove_prefix(2);
    } else if (!text.empty()) {
      text.remove_prefix(1);
    }
  }
  return FindMarkdownTable(lines).has_value();
}

bool BlankBehindPrefix(std::string_view line, std::string_view prefix) {
  const std::string_view bare = StripTrailing(prefix);
  return IsBlankText(line) || (line.starts_with(bare) && IsBlankText(line.substr(bare.size())));
}

int MarkdownRowHeight(std::string_view line, std::string_view prefix, int cells) {
  if (!line.starts_with(prefix) || BlankBehindPrefix(line, prefix)) return 0;
  const std::string_view text = line.substr(prefix.size());
  if (BeginsOtherBlock(text)) return 0;
  int height = 1, i = 0;
  const std::size_t count = ForEachCell(text, [&](std::string_view cell) {
    if (i++ < cells) height = std::max(height, CellLines(cell));
  });
  return count == 0 ? 0 : height;
}

ColumnWidths StoreMarkdownTable(Document& doc, const std::vector<std::string>& lines,
                                const MarkdownStart& start, int firstCol, int firstRow,
                                ReadReport* report) {
  ColumnWidths w{};
  const std::string_view prefix = start.prefix;
  const std::size_t header = start.headerLine;
  const std::size_t headerCells = CellCount(std::string_view(lines[header]).substr(prefix.size()));
  const int reach = kLastCol - firstCol + 1;  // cells that land in the grid
  long row = firstRow;
  bool ended = false;
  for (std::size_t i = header; i < lines.size(); ++i) {
    if (i == header + 1) continue;  // the delimiter row
    const std::string_view line = lines[i];
    if (!ended) {
      if (const int height = MarkdownRowHeight(line, prefix, reach); height > 0) {
        StoreRow(doc, line.substr(prefix.size()), row, height, firstCol, headerCells, w, report);
        row += height;
        continue;
      }
      ended = true;
    }
    if (report && !BlankBehindPrefix(line, prefix)) ++report->linesLeftOut;
  }
  return w;
}

std::string MarkdownTitle(const std::vector<std::string>& lines, const MarkdownStart& start) {
  if (start.headerLine == 0) return {};
  return std::string(StripText(std::string_view(lines[0]).substr(start.prefix.size())));
}

ReadReport ReadMarkdownTable(Document& doc, const std::vector<std::string>& lines,
                             const MarkdownStart& start) {
  ReadReport report;
  report.kind = ReadReport::Kind::MarkdownTable;
  report.prefix = start.prefix;
  OptionState& o = doc.options;
  o.SetChecked(Option::Ruled, true);
  o.SetChecked(Option::ColumnHeadings, false);
  o.SetChecked(Option::RowHeadings, false);
  o.SetChecked(Option::Trim, true);
  const std::string title = MarkdownTitle(lines, start);
  o.SetTitle(title);
  o.SetChecked(Option::Title, !title.empty());
  ApplyTextWidths(doc,
                  StoreMarkdownTable(doc, lines, start, kFirstDataCol, kFirstDataRow, &report));
  doc.grid.Select(kFirstDataCol, kFirstDataRow);
  return report;
}

namespace {

// The last row the table shows: the last data row with a non-blank data
// cell, or, with the row headings shown, a heading the ruled table counts
// as use (wider than three columns); 0 for none.
int LastUsedRow(const Grid& g, bool rowHeadings) {
  for (int r = kLastRow; r >= kFirstDataRow; --r) {
    const std::string& heading = g.Cell(1, r);
    const int marks = IsBlankText(g.Cell(0, r)) ? 0 : 1;
    const int beside = g.NonBlankCellsBesideHeading(r) - marks;
    if (beside > 0 || (rowHeadings && Columns(StripText(heading)) > 3)) return r;
  }
  return 0;
}

// The last column the table shows: the last data column with a non-blank
// data cell, or, with the heading row shown, a heading wider than two
// columns; 0 for none.
int LastUsedCol(const Grid& g, bool columnHeadings) {
  for (int c = kLastCol; c >= kFirstDataCol; --c) {
    if (g.NonBlankDataCells(c) > 0 || (columnHeadings && Columns(StripText(g.Cell(c, 0))) > 2)) {
      return c;
    }
  }
  return 0;
}

// A table row: a grid row and the continuation rows joined to it.
struct RowGroup {
  int first, last;
};

// A cell of a row group as Markdown: the lines of its grid cells, each
// trimmed, "|" escaped, joined by "<br>", without empty lines at the end.
std::string GroupCell(const Grid& g, int c, const RowGroup& group) {
  std::string text;
  std::size_t kept = 0;
  for (int r = group.first; r <= group.last; ++r) {
    if (r > group.first) text += kBreak;
    const std::string_view line = StripText(g.Cell(c, r));
    for (const char ch : line) {
      if (ch == '|') text += '\\';
      text += ch;
    }
    if (!line.empty()) kept = text.size();
  }
  text.resize(kept);
  return text;
}

}  // namespace

std::vector<std::string> WriteMarkdownTable(const Document& doc) {
  const Grid& g = doc.grid;
  const OptionState& o = doc.options;
  const bool columnHeadings = o.Checked(Option::ColumnHeadings);
  const bool rowHeadings = o.Checked(Option::RowHeadings);
  int lastRow = LastUsedRow(g, rowHeadings);
  if (!columnHeadings) lastRow = std::max(lastRow, kFirstDataRow);  // the header row
  const int lastCol = std::max(LastUsedCol(g, columnHeadings), kFirstDataCol);

  std::vector<int> cols;
  if (rowHeadings) cols.push_back(1);
  for (int c = kFirstDataCol; c <= lastCol; ++c) cols.push_back(c);
  std::vector<RowGroup> groups;
  if (columnHeadings) groups.push_back({0, 0});
  for (int r = kFirstDataRow; r <= lastRow; ++r) {
    if (r > kFirstDataRow && groups.back().first >= kFirstDataRow &&
        g.Cell(0, r) == ContinuationMark) {
      groups.back().last = r;
    } else {
      groups.push_back({r, r});
    }
  }

  // The cells, the columns' widths, and which columns are numbers: those
  // whose filled grid cells below the header row all are.
  const std::size_t n = cols.size();
  std::vector<std::string> cells;
  cells.reserve(groups.size() * n);
  std::vector<int> width(n, 3);
  std::vector<bool> numeric(n);
  for (std::size_t j = 0; j < n; ++j) {
    bool filled = false, numbers = true;
    for (std::size_t i = 1; i < groups.size() && numbers; ++i) {
      for (int r = groups[i].first; r <= groups[i].last; ++r) {
        const std::string_view text = StripText(g.Cell(cols[j], r));
        filled = filled || !text.empty();
        numbers = numbers && IsNumericText(text);
      }
    }
    numeric[j] = filled && numbers;
    if (numeric[j]) width[j] = 4;  // room for "---:"
  }
  for (const RowGroup& group : groups) {
    for (std::size_t j = 0; j < n; ++j) {
      cells.push_back(GroupCell(g, cols[j], group));
      width[j] = std::max(width[j], Columns(cells.back()));
    }
  }

  std::vector<std::string> lines;
  lines.reserve(groups.size() + 3);
  if (o.Checked(Option::Title) && !IsBlankText(o.Title())) {
    lines.emplace_back(StripText(o.Title()));
    lines.emplace_back();
  }
  const auto row = [&](const std::string* rowCells) {
    std::string line = "|";
    for (std::size_t j = 0; j < n; ++j) {
      line += ' ';
      line += numeric[j] ? PadLeft(rowCells[j], width[j]) : PadRight(rowCells[j], width[j]);
      line += " |";
    }
    return line;
  };
  lines.push_back(row(cells.data()));
  std::string delimiter = "|";
  for (std::size_t j = 0; j < n; ++j) {
    delimiter += ' ';
    delimiter.append(static_cast<std::size_t>(width[j] - (numeric[j] ? 1 : 0)), '-');
    delimiter += numeric[j] ? ": |" : " |";
  }
  lines.push_back(std::move(delimiter));
  for (std::size_t i = 1; i < groups.size(); ++i) lines.push_back(row(cells.data() + i * n));
  return lines;
}

}  // namespace tabulon
