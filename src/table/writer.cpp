#include "table/writer.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "document/cp932.h"
#include "table/format.h"

namespace tabulon {

namespace {

using C = OptionControl;

// Length of the text made by joining the cells, each followed by CR LF, once
// bytes 0 to 32 are stripped from both ends; computed without joining.
template <typename CellAt>
int StrippedJoinedLength(int count, CellAt cellAt) {
  long pos = 0, first = -1, last = -1;
  for (int i = 0; i < count; ++i) {
    const std::string& s = cellAt(i);
    for (std::size_t k = 0; k < s.size(); ++k) {
      if (!IsBlankByte(static_cast<unsigned char>(s[k]))) {
        if (first < 0) first = pos + static_cast<long>(k);
        last = pos + static_cast<long>(k);
      }
    }
    pos += static_cast<long>(s.size()) + 2;
  }
  return first < 0 ? 0 : static_cast<int>(last - first + 1);
}

int RowUse(const Grid& g, int r) {
  return StrippedJoinedLength(kColCount, [&](int c) -> const std::string& { return g.Cell(c, r); });
}

int ColUse(const Grid& g, int c) {
  return StrippedJoinedLength(kRowCount, [&](int r) -> const std::string& { return g.Cell(c, r); });
}

int E(const Grid& g, int c) {
  return TextWidthOf(g.ColWidth(c));
}

// A field's content: the cell text without its trailing blanks.
std::string_view DataText(const Grid& g, int c, int r) {
  return StripTrailing(g.Cell(c, r));
}

// The last field of a line at the width limit, n columns wide where the
// column would be e wide. Widened: the text, cut to n bytes if longer.
// Narrowed: blanks for a blank cell, the text if it fits, else "#"s.
std::string LastField(std::string_view text, int n, int e) {
  n = std::max(n, 0);
  if (n >= e) return PadRight(text.substr(0, n), n);
  if (text.empty() || IsBlankText(text)) return std::string(n, ' ');
  if (static_cast<int>(text.size()) <= n) return PadRight(text, n);
  return std::string(n, '#');
}

struct Style {
  bool box;
  std::string_view separator;
  int headingWidth;     // the row-heading field
  int limitMargin;      // a column is the last one once L + e >= W - limitMargin
  int lastFieldMargin;  // its width is then W - lastFieldMargin - L
};

constexpr Style kAscii{false, "|", 3, 2, 1};
constexpr Style kBox{true, box::Vertical, 4, 4, 2};

class TableWriter {
 public:
  explicit TableWriter(Document& doc)
      : doc_(doc), g_(doc.grid), o_(doc.options), style_(o_.BoxStyle() ? kBox : kAscii) {}

  int Run() {
    const int lastRow = FindLastRow(g_);
    lastCol_ = FindLastCol(g_);
    doc_.CurRow = 0;
    for (int c = kFirstDataCol; c <= kLastCol; ++c) {
      if (ColUse(g_, c) > 1) {
        doc_.CurCol = c;
        WidenColWidth(doc_, c);
      }
    }
    doc_.TableLines.clear();
    if (!o_.Checked(C::CheckBox5)) {
      WriteUnruled(lastRow);
      return 0;
    }
    rowHeadings_ = o_.Checked(C::CheckBox2);
    title_ = o_.Checked(C::CheckBox3);
    if (!o_.Checked(C::CheckBox4)) lastCol_ = kLastCol;
    W_ = o_.Checked(C::CheckBox6) ? o_.Position() : kMaxLineWidth;

    BuildRuleLine();
    const int T = static_cast<int>(rule_.size());
    WriteTopAndTitle(T);
    if (o_.Checked(C::CheckBox1)) WriteHeadingRow(T);
    if (style_.box) ReplaceAllChars(rule_, box::TopT, box::Cross);
    WriteDataRows(lastRow, T);
    return T;
  }

 private:
  void BuildRuleLine() {
    const bool box = style_.box;
    const int titleWidth = ByteWidth(o_.Title());
    rule_ = box ? std::string(box::LeftT) : "+";
    if (rowHeadings_) rule_ += box ? MakeBoxRule(4) + std::string(box::TopT) : "---+";
    for (int c = kFirstDataCol; c <= kLastCol; ++c) {
      const int L = Width(rule_);
      const int e = E(g_, c);
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
        if (o_.Checked(C::CheckBox4) && c >= lastCol_) {
          const int need = title_ ? std::max(titleWidth, 9) + 2 : 11;
          if (Width(rule_) >= need) return;
        }
        continue;
      }
      rule_ += MakeBoxRule(e);
      if (o_.Checked(C::CheckBox4) && c >= lastCol_) {
        const int need = title_ ? std::max(titleWidth, 8) + 4 : 12;
        if (Width(rule_) + 2 >= need) {
          rule_ += box::RightT;
          return;
        }
      }
      rule_ += c == kLastCol ? box::RightT : box::TopT;
    }
  }

  void WriteTopAndTitle(int T) {
    const std::string marker =
        LayoutMarker(title_, o_.Checked(C::CheckBox1), o_.Checked(C::CheckBox2));
    auto& out = doc_.TableLines;
    if (title_) {
      if (style_.box) {
        out.push_back(std::string(box::TopLeft) + marker + MakeBoxRule(T - 12) +
                      std::string(box::TopRight));
        out.push_back(std::string(box::Vertical) + PadRight(o_.Title(), T - 4) +
                      std::string(box::Vertical));
      } else {
        out.push_back("+-" + marker + std::string(std::max(T - 11, 0), '-') + "+");
        out.push_back("|" + PadRight(o_.Title(), T - 2) + "|");
      }
      out.push_back(rule_);
      return;
    }
    if (!style_.box) {
      out.push_back("+-" + marker + rule_.substr(std::min<std::size_t>(10, rule_.size())));
      return;
    }
    // The prefix takes the place of U's first ten bytes; a character that
    // spans bytes 10 and 11 gives way to a "-".
    std::size_t from = std::min<std::size_t>(10, rule_.size());
    std::string top = std::string(box::TopLeft) + marker;
    if (from < rule_.size() && IsTrailByteAt(rule_, from)) {
      top += '-';
      ++from;
    }
    std::string rest = rule_.substr(from);
    ReplaceFirst(rest, box::RightT, box::TopRight);
    out.push_back(top + rest);
  }

  void WriteHeadingRow(int T) {
    std::string line(style_.separator);
    if (rowHeadings_) {
      line += g_.Cell(1, 0);
      if (style_.box) line += ' ';
      line += style_.separator;
    }
    for (int c = kFirstDataCol; c <= kLastCol; ++c) {
      const int L = Width(line);
      const int e = E(g_, c);
      if (L + e >= W_ - style_.limitMargin) {
        const int n = W_ - style_.lastFieldMargin - L;
        if (n > 0) line += PadRight(g_.Cell(c, 0), n) + std::string(style_.separator);
        break;
      }
      line += PadRight(g_.Cell(c, 0), e) + std::string(style_.separator);
      if (Width(line) >= T) break;
    }
    if (style_.box) ReplaceAllChars(rule_, box::TopT, box::Cross);
    doc_.TableLines.push_back(std::move(line));
    doc_.TableLines.push_back(rule_);
  }

  void WriteDataRows(int lastRow, int T) {
    for (int r = kFirstDataRow; r <= lastRow; ++r) {
      std::string line(style_.separator);
      if (rowHeadings_)
        line += PadLeft(g_.Cell(1, r), style_.headingWidth) + std::string(style_.separator);
      for (int c = kFirstDataCol; c <= kLastCol; ++c) {
        const int L = Width(line);
        const int e = E(g_, c);
        if (L + e < W_ - style_.limitMargin) {
          line += PadRight(DataText(g_, c, r), e) + std::string(style_.separator);
          if (Width(line) >= T) break;
          continue;
        }
        line += LastField(DataText(g_, c, r), W_ - style_.lastFieldMargin - L, e);
        line += style_.separator;
        break;
      }
      if (style_.box && r == lastRow) {
        ReplaceAllChars(rule_, box::Cross, box::BottomT);
        ReplaceFirst(rule_, box::LeftT, box::BottomLeft);
        ReplaceFirst(rule_, box::RightT, box::BottomRight);
      }
      doc_.TableLines.push_back(std::move(line));
      if (r == kLastRow || g_.Cell(0, r + 1) != ContinuationMark) doc_.TableLines.push_back(rule_);
    }
  }

  // Without ruled lines: fields ended by TABs, no frame, no headings.
  void WriteUnruled(int lastRow) {
    constexpr int W = kMaxLineWidth;
    if (o_.Checked(C::CheckBox3)) doc_.TableLines.push_back(" " + o_.Title());
    for (int r = kFirstDataRow; r <= lastRow; ++r) {
      std::string line;
      for (int c = kFirstDataCol; c <= lastCol_; ++c) {
        const int L = Width(line);
        const int e = E(g_, c);
        if (L + e < W - 1) {
          line += PadRight(DataText(g_, c, r), e) + "\t";
          continue;
        }
        line += LastField(DataText(g_, c, r), W - L, e) + "\t";
        break;
      }
      doc_.TableLines.push_back(std::move(line));
    }
  }

  static int Width(const std::string& s) { return static_cast<int>(s.size()); }

  Document& doc_;
  const Grid& g_;
  const OptionState& o_;
  const Style style_;
  int lastCol_ = 0;
  int W_ = kMaxLineWidth;
  bool rowHeadings_ = false;
  bool title_ = false;
  std::string rule_;
};

}  // namespace

int FindLastRow(const Grid& grid) {
  for (int r = kLastRow; r >= kFirstDataRow; --r) {
    if (RowUse(grid, r) > 3) return r;
  }
  return kFirstDataRow;
}

int FindLastCol(const Grid& grid) {
  for (int c = kLastCol; c >= kFirstDataCol; --c) {
    if (ColUse(grid, c) > 2) return c;
  }
  return 0;
}

int WriteTable(Document& doc) {
  return TableWriter(doc).Run();
}

}  // namespace tabulon
