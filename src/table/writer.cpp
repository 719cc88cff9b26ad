#include "table/writer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "document/blanks.h"
#include "document/text_columns.h"
#include "table/format.h"

namespace tabulon {

namespace {

// Whether the stripped joined text of a row or a column is wider than
// `limit` columns (at most 3): two non-blank cells are at least four
// columns apart once joined, and with fewer only one cell's text is left.
// The grid's counts of non-blank cells beside the heading (the column's
// heading row, the row's heading column) decide most rows and columns at a
// look.
template <typename CellAt>
bool UseExceeds(int nonBlankBeside, const std::string& heading, int count, CellAt cellAt,
                int limit) {
  if (nonBlankBeside == 0) {
    // Most rows and columns: only the heading, and mostly a short one.
    return Columns(heading) > limit && Columns(StripText(heading)) > limit;
  }
  if (nonBlankBeside >= 2 || !IsBlankText(heading)) return true;
  for (int i = 0; i < count; ++i) {
    const std::string_view stripped = StripText(cellAt(i));
    if (!stripped.empty()) return Columns(stripped) > limit;
  }
  return false;
}

// Rows 0 to 256 of the column.
bool ColUseExceeds(const Grid& g, int c, int limit) {
  return UseExceeds(
      g.NonBlankDataCells(c), g.Cell(c, 0), kRowCount,
      [&](int r) -> const std::string& { return g.Cell(c, r); }, limit);
}

// Columns 0 to 36 of the row.
bool RowUseExceeds(const Grid& g, int r, int limit) {
  return UseExceeds(
      g.NonBlankCellsBesideHeading(r), g.Cell(1, r), kColCount,
      [&](int c) -> const std::string& { return g.Cell(c, r); }, limit);
}

int E(const Grid& g, int c) {
  return TextWidthOf(g.ColWidth(c));
}

// A field's content: the cell text without its trailing blanks.
std::string_view DataText(const Grid& g, int c, int r) {
  return StripTrailing(g.Cell(c, r));
}

// A line laid out in a buffer that grows as needed and is used again for
// the next line, with texts and runs of blanks copied in. Its width in
// columns is kept as it grows.
class LineBuffer {
 public:
  void Start(std::string_view text) {
    length_ = 0;
    columns_ = 0;
    Put(text);
  }
  void Put(std::string_view text) { Put(text, Columns(text)); }
  void Fill(char ch, std::size_t n) {
    std::memset(Room(n), ch, n);
    length_ += n;
    columns_ += static_cast<int>(n);
  }
  void Blanks(std::size_t n) { Fill(' ', n); }
  // As PadRight and PadLeft pad a text to `width` columns (a wider one whole).
  void PadRight(std::string_view text, int width) {
    const int columns = Columns(text);
    Put(text, columns);
    if (columns < width) Blanks(static_cast<std::size_t>(width - columns));
  }
  void PadLeft(std::string_view text, int width) {
    const int columns = Columns(text);
    if (columns < width) Blanks(static_cast<std::size_t>(width - columns));
    Put(text, columns);
  }
  int Width() const { return columns_; }
  std::string_view Text() const { return {buffer_.data(), length_}; }

 private:
  char* Room(std::size_t n) {
    if (buffer_.size() - length_ < n) buffer_.resize(2 * (length_ + n));
    return buffer_.data() + length_;
  }

  void Put(std::string_view text, int columns) {
    if (text.empty()) return;
    std::memcpy(Room(text.size()), text.data(), text.size());
    length_ += text.size();
    columns_ += columns;
  }

  std::string buffer_;
  std::size_t length_ = 0;
  int columns_ = 0;
};

// Appends the last field of a line at the width limit, n columns wide where
// the column would be e wide. Widened: the text, cut to n columns if wider.
// Narrowed: blanks for a blank cell, the text if it fits, else "#"s.
void PutLastField(LineBuffer& line, std::string_view text, int n, int e) {
  n = std::max(n, 0);
  if (n >= e) {
    line.PadRight(CutToColumns(text, n), n);
  } else if (text.empty() || IsBlankText(text)) {
    line.Blanks(n);
  } else if (Columns(text) <= n) {
    line.PadRight(text, n);
  } else {
    line.Fill('#', n);
  }
}

struct Style {
  bool box;
  std::string_view separator;
  int bar;              // the columns of the separator, and of a box corner
  int headingWidth;     // the row-heading field
  int limitMargin;      // a column is the last one once L + e >= W - limitMargin
  int lastFieldMargin;  // its width is then W - lastFieldMargin - L
};

// The margins are a bar's columns and two bars': the box style's bars take
// two columns by the default width rule and one under the narrow one.
Style StyleOf(bool box) {
  const std::string_view separator = box ? box::Vertical : "|";
  const int bar = Columns(separator);
  return {box, separator, bar, box ? 4 : 3, 2 * bar, bar};
}

class TableWriter {
 public:
  explicit TableWriter(Document& doc)
      : doc_(doc), g_(doc.grid), o_(doc.options), style_(StyleOf(o_.BoxStyle())) {}

  int Run() {
    // The table has row 1 even where no row is used.
    const int lastRow = std::max(FindLastRow(g_), kFirstDataRow);
    lastCol_ = FindLastCol(g_);
    doc_.CurRow = 0;
    for (int c = kFirstDataCol; c <= kLastCol; ++c) {
      if (ColUseExceeds(g_, c, 1)) {
        WidenColWidth(doc_, c);
        // The recorded cell ends on the heading of the last column widened,
        // where the writer has always left it.
        doc_.CurCol = c;
      }
    }
    lines_.clear();
    lines_.reserve(2 * static_cast<std::size_t>(lastRow) + 6);  // rows, rules, the top
    if (!o_.Checked(Option::Ruled)) {
      WriteUnruled(lastRow);
      return 0;
    }
    rowHeadings_ = o_.Checked(Option::RowHeadings);
    title_ = o_.Checked(Option::Title);
    if (!o_.Checked(Option::Trim)) lastCol_ = kLastCol;
    W_ = o_.Checked(Option::FixedWidth) ? o_.Position() : kMaxLineWidth;

    BuildRuleLine();
    const int T = Columns(rule_);
    WriteTopAndTitle(T);
    if (o_.Checked(Option::ColumnHeadings)) WriteHeadingRow(T);
    if (style_.box) ReplaceAllChars(rule_, box::TopT, box::Cross);
    WriteDataRows(lastRow, T);
    return T;
  }

  std::vector<std::string> TakeLines() { return std::move(lines_); }

  LineFit Fit() const {
    LineFit fit;
    fit.width = W_;  // without rules 99, whatever 桁数 says
    for (int c = lastShown_ + 1; c <= kLastCol; ++c)
      fit.columnsLeftOut += g_.NonBlankDataCells(c) > 0;
    return fit;
  }

 private:
  void BuildRuleLine() {
    const bool box = style_.box;
    const int titleWidth = Columns(o_.Title());
    rule_ = box ? std::string(box::LeftT) : "+";
    if (rowHeadings_) rule_ += box ? MakeBoxRule(4) + std::string(box::TopT) : "---+";
    for (int c = kFirstDataCol; c <= kLastCol; ++c) {
      const int L = Width(rule_);
      const int e = E(g_, c);
      lastShown_ = c;
      if (L + e >= W_ - style_.limitMargin) {
        const int n = W_ - style_.lastFieldMargin - L;
        if (box) {
          rule_ += MakeBoxRule(n);
          rule_ += box::RightT;
        } else {
          rule_ += std::string(std::max(n, 0), '-') + "+";
        }
        return;
      }
      if (!box) {
        rule_ += std::string(e, '-') + "+";
        if (o_.Checked(Option::Trim) && c >= lastCol_) {
          const int need = title_ ? std::max(titleWidth, 9) + 2 : 11;
          if (Width(rule_) >= need) return;
        }
        continue;
      }
      rule_ += MakeBoxRule(e);
      if (o_.Checked(Option::Trim) && c >= lastCol_) {
        // Room for the title, or the corners and the marker, between bars.
        const int need = std::max(title_ ? titleWidth : 0, 8) + 2 * style_.bar;
        if (Width(rule_) + style_.bar >= need) {
          rule_ += box::RightT;
          return;
        }
      }
      rule_ += c == kLastCol ? box::RightT : box::TopT;
    }
  }

  void WriteTopAndTitle(int T) {
    const std::string marker =
        LayoutMarker({title_, o_.Checked(Option::ColumnHeadings), rowHeadings_});
    auto& out = lines_;
    if (title_) {
      if (style_.box) {
        const int bars = 2 * style_.bar;
        out.push_back(std::string(box::TopLeft) + marker + MakeBoxRule(T - 8 - bars) +
                      std::string(box::TopRight));
        out.push_back(std::string(box::Vertical) + PadRight(o_.Title(), T - bars) +
                      std::string(box::Vertical));
      } else {
        out.push_back("+-" + marker + std::string(std::max(T - 11, 0), '-') + "+");
        out.push_back("|" + PadRight(o_.Title(), T - 2) + "|");
      }
      out.push_back(rule_);
      return;
    }
    if (!style_.box) {
      out.push_back("+-" + marker + rule_.substr(ByteAtColumn(rule_, 10)));
      return;
    }
    // The corner and the marker take the place of the rule line's first
    // columns (ten by the default rule); a character of the rule that spans
    // the last of them and the next gives way to a "-".
    long from = style_.bar + 8;
    std::string top = std::string(box::TopLeft) + marker;
    if (InsideCharAt(rule_, from)) {
      top += '-';
      ++from;
    }
    std::string rest = rule_.substr(ByteAtColumn(rule_, from));
    ReplaceFirst(rest, box::RightT, box::TopRight);
    out.push_back(top + rest);
  }

  void WriteHeadingRow(int T) {
    LineBuffer line;
    line.Start(style_.separator);
    if (rowHeadings_) {
      line.Put(g_.Cell(1, 0));
      if (style_.box) line.Blanks(1);
      line.Put(style_.separator);
    }
    for (int c = kFirstDataCol; c <= kLastCol; ++c) {
      const int L = line.Width();
      const int e = E(g_, c);
      if (L + e >= W_ - style_.limitMargin) {
        const int n = W_ - style_.lastFieldMargin - L;
        if (n > 0) {
          line.PadRight(g_.Cell(c, 0), n);
          line.Put(style_.separator);
        }
        break;
      }
      line.PadRight(g_.Cell(c, 0), e);
      line.Put(style_.separator);
      if (line.Width() >= T) break;
    }
    if (style_.box) ReplaceAllChars(rule_, box::TopT, box::Cross);
    lines_.emplace_back(line.Text());
    lines_.push_back(rule_);
  }

  void WriteDataRows(int lastRow, int T) {
    int e[kColCount];
    for (int c = kFirstDataCol; c <= kLastCol; ++c) e[c] = E(g_, c);
    // Each row is laid out in one buffer and copied into its line whole: a
    // full table has nine thousand fields. A row whose cells beside the
    // heading are all blank is laid out as every other such row is, but for
    // a heading that fits its field: the first one is kept and copied, its
    // heading's bytes overwritten where each of a heading's bytes is a column.
    LineBuffer line;
    std::string blankRow;
    const std::size_t headingAt = style_.separator.size();
    const auto headingWidth = static_cast<std::size_t>(style_.headingWidth);
    for (int r = kFirstDataRow; r <= lastRow; ++r) {
      const std::string& heading = g_.Cell(1, r);
      const bool blank = g_.NonBlankCellsBesideHeading(r) == 0 &&
                         (!rowHeadings_ || (heading.size() <= headingWidth &&
                                            Columns(heading) == static_cast<int>(heading.size())));
      if (blank && !blankRow.empty()) {
        std::string copy = blankRow;
        if (rowHeadings_) {  // as PadLeft(heading, headingWidth)
          const std::size_t blanks = headingWidth - heading.size();
          std::memset(copy.data() + headingAt, ' ', blanks);
          if (!heading.empty())
            std::memcpy(copy.data() + headingAt + blanks, heading.data(), heading.size());
        }
        lines_.push_back(std::move(copy));
      } else {
        WriteDataRow(line, e, r, T);
        lines_.emplace_back(line.Text());
        if (blank) blankRow = line.Text();
      }
      if (style_.box && r == lastRow) {
        ReplaceAllChars(rule_, box::Cross, box::BottomT);
        ReplaceFirst(rule_, box::LeftT, box::BottomLeft);
        ReplaceFirst(rule_, box::RightT, box::BottomRight);
      }
      if (r == kLastRow || g_.Cell(0, r + 1) != ContinuationMark) lines_.push_back(rule_);
    }
  }

  void WriteDataRow(LineBuffer& line, const int* e, int r, int T) const {
    line.Start(style_.separator);
    if (rowHeadings_) {
      line.PadLeft(g_.Cell(1, r), style_.headingWidth);
      line.Put(style_.separator);
    }
    for (int c = kFirstDataCol; c <= kLastCol; ++c) {
      const int L = line.Width();
      if (L + e[c] < W_ - style_.limitMargin) {
        line.PadRight(DataText(g_, c, r), e[c]);
        line.Put(style_.separator);
        if (line.Width() >= T) break;
        continue;
      }
      PutLastField(line, DataText(g_, c, r), W_ - style_.lastFieldMargin - L, e[c]);
      line.Put(style_.separator);
      break;
    }
  }

  // Without ruled lines: fields ended by TABs, no frame, no headings.
  void WriteUnruled(int lastRow) {
    constexpr int W = kMaxLineWidth;
    if (o_.Checked(Option::Title)) lines_.push_back(" " + o_.Title());
    LineBuffer line;
    for (int r = kFirstDataRow; r <= lastRow; ++r) {
      line.Start("");
      for (int c = kFirstDataCol; c <= lastCol_; ++c) {
        const int L = line.Width();
        const int e = E(g_, c);
        lastShown_ = c;
        if (L + e < W - 1) {
          line.PadRight(DataText(g_, c, r), e);
          line.Put("\t");
          continue;
        }
        PutLastField(line, DataText(g_, c, r), W - L, e);
        line.Put("\t");
        break;
      }
      lines_.emplace_back(line.Text());
    }
  }

  static int Width(const std::string& s) { return Columns(s); }

  Document& doc_;
  std::vector<std::string> lines_;
  const Grid& g_;
  const OptionState& o_;
  const Style style_;
  int lastCol_ = 0;
  int lastShown_ = kFirstDataCol - 1;
  int W_ = kMaxLineWidth;
  bool rowHeadings_ = false;
  bool title_ = false;
  std::string rule_;
};

}  // namespace

int FindLastRow(const Grid& grid) {
  for (int r = kLastRow; r >= kFirstDataRow; --r) {
    if (RowUseExceeds(grid, r, 3)) return r;
  }
  return 0;
}

int FindLastCol(const Grid& grid) {
  for (int c = kLastCol; c >= kFirstDataCol; --c) {
    if (ColUseExceeds(grid, c, 2)) return c;
  }
  return 0;
}

WrittenTable WriteTable(Document& doc, LineFit* fit) {
  TableWriter writer(doc);
  WrittenTable table;
  table.ruleWidth = writer.Run();
  table.lines = writer.TakeLines();
  if (fit) *fit = writer.Fit();
  return table;
}

}  // namespace tabulon
