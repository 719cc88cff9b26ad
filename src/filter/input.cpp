#include "filter/input.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ios>
#include <istream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "document/blanks.h"
#include "document/codec.h"
#include "document/inside_text.h"
#include "document/width.h"
#include "table/generated_table.h"
#include "table/markdown.h"
#include "table/rich_cells.h"

namespace tabulon {

namespace {

constexpr std::size_t kBlock = 1 << 16;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr int kDataFields = kLastCol - kFirstDataCol + 1;  // fields that reach the grid

// The lines of a stream, split as SplitLines splits a whole text: at CR LF,
// LF and lone CR; a break at the very end begins no further line.
class LineReader {
 public:
  LineReader(std::istream& in, bool skipBom, InputOutcome& outcome)
      : in_(in), skipBom_(skipBom), outcome_(outcome) {}

  // The next line without its break, valid until the next call; false at
  // the end of the input or after a read error.
  bool Next(std::string_view& line) {
    for (;;) {
      if (skipBom_ && (buf_.size() >= kUtf8Bom.size() || eof_)) {
        skipBom_ = false;
        if (StartsWith(buf_, kUtf8Bom)) {
          pos_ = kUtf8Bom.size();
          bom_ = true;
        }
      }
      if (!skipBom_) {
        const std::size_t brk = std::min(Locate(lf_, '\n'), Locate(cr_, '\r'));
        const bool crMayPair = brk + 1 == buf_.size() && buf_[brk] == '\r' && !eof_;
        if (brk < buf_.size() && !crMayPair) {
          line = std::string_view(buf_).substr(pos_, brk - pos_);
          pos_ = brk + (buf_.compare(brk, 2, "\r\n") == 0 ? 2 : 1);
          return true;
        }
        if (eof_) {
          if (pos_ == buf_.size()) return false;
          line = std::string_view(buf_).substr(pos_);
          pos_ = buf_.size();
          return true;
        }
      }
      Fill();
    }
  }

  int error() const { return error_; }
  // Whether the input began with a UTF-8 byte-order mark (known once the
  // first line is read).
  bool bom() const { return bom_; }

 private:
  // Where a break character was last looked for: the next one at `pos`, or,
  // when not `hit`, none before `pos`.
  struct Seek {
    std::size_t pos = 0;
    bool hit = false;
  };

  // The next `ch` at or after pos_, or buf_.size(); each byte is searched
  // once however long the line, so CR-only or LF-only text stays linear.
  std::size_t Locate(Seek& s, char ch) {
    if (s.hit && s.pos >= pos_) return s.pos;
    const std::size_t from = !s.hit && s.pos > pos_ ? s.pos : pos_;
    const void* at = std::memchr(buf_.data() + from, ch, buf_.size() - from);
    s.hit = at != nullptr;
    s.pos =
        s.hit ? static_cast<std::size_t>(static_cast<const char*>(at) - buf_.data()) : buf_.size();
    return s.pos;
  }

  void Fill() {
    buf_.erase(0, pos_);
    for (Seek* s : {&lf_, &cr_}) *s = s->pos >= pos_ ? Seek{s->pos - pos_, s->hit} : Seek{};
    pos_ = 0;
    const std::size_t old = buf_.size();
    buf_.resize(old + kBlock);
    std::streamsize n = 0;
    try {
      n = in_.rdbuf()->sgetn(buf_.data() + old, static_cast<std::streamsize>(kBlock));
    } catch (const std::system_error& e) {
      // The stream buffer reports a failed read(2) by throwing, with its errno.
      const std::error_category& kind = e.code().category();
      const bool isErrno = kind == std::generic_category() || kind == std::system_category();
      error_ = isErrno && e.code().value() != 0 ? e.code().value() : EIO;
    } catch (const std::exception&) {
      error_ = errno != 0 ? errno : EIO;
    }
    buf_.resize(old + static_cast<std::size_t>(std::max<std::streamsize>(n, 0)));
    if (outcome_.blank) KeepBlank(std::string_view(buf_).substr(old));
    if (n <= 0 || error_ != 0) eof_ = true;
  }

  // Keeps the input as runs of equal bytes while it is blank; a byte-order
  // mark at its start is kept but is no text.
  void KeepBlank(std::string_view block) {
    std::vector<std::pair<char, std::size_t>>& runs = outcome_.blankRuns;
    for (const char ch : block) {
      const bool bom = skipBom_ && read_ < kUtf8Bom.size() && ch == kUtf8Bom[read_];
      ++read_;
      if (!bom && !IsBlankByte(static_cast<unsigned char>(ch))) {
        outcome_.blank = false;
        runs.clear();
        runs.shrink_to_fit();
        return;
      }
      if (!runs.empty() && runs.back().first == ch) {
        ++runs.back().second;
      } else {
        runs.emplace_back(ch, 1);
      }
    }
  }

  std::istream& in_;
  std::string buf_;
  std::size_t pos_ = 0;  // start of the unread part of buf_
  Seek lf_, cr_;
  bool skipBom_;
  bool bom_ = false;
  bool eof_ = false;
  int error_ = 0;
  InputOutcome& outcome_;
  std::size_t read_ = 0;  // bytes read so far
};

// The input's encoding as the reader sees it: inside text made through the
// one seam from UTF-8 or CP932, counting each U+FFFD once.
class Codec {
 public:
  explicit Codec(bool utf8) : utf8_(utf8) {}

  bool Utf8() const { return utf8_; }
  std::size_t Replaced() const { return replaced_; }

  std::string Convert(std::string_view s) {
    return utf8_ ? InsideFromUtf8(s, &replaced_) : InsideFromCp932(s, &replaced_);
  }
  // Counts what a line that is only measured would lose.
  void Measure(std::string_view s) {
    if (utf8_) {
      replaced_ += BadUtf8Count(s);
    } else {
      Convert(s);
    }
  }
  // Widens `widths` to the columns of the line's TAB-separated fields and
  // counts what all of them would lose, those past the widths included.
  void WidenFields(std::string_view line, std::span<std::size_t> widths) {
    if (utf8_) {
      WidenToColumnFields(line, widths, &replaced_);
    } else {
      WidenToColumnFields(Convert(line), widths);
    }
  }
  // The inside text of at least the first n characters (all of the line
  // when shorter), counting nothing: Measure counts the line. A UTF-8
  // character or bad sequence is at most four bytes, a CP932 one two.
  std::string Head(std::string_view s, std::size_t n) const {
    return utf8_ ? InsideFromUtf8(s.substr(0, 4 * n)) : InsideFromCp932(s.substr(0, 2 * n));
  }
  std::string ConvertUncounted(std::string_view s) const {
    return utf8_ ? InsideFromUtf8(s) : InsideFromCp932(s);
  }

 private:
  bool utf8_;
  std::size_t replaced_ = 0;
};

// The reader's form, made on the first two lines; where the reader reads
// nothing, the filter reads tab text (see Read). Nothing stands for a form
// not yet known. A first field that may be a quoted cell makes the filter
// read the whole text, so the reader's look at it is not needed here.
TextForm FormOf(std::string_view l0, std::string_view l1) {
  const TextForm form = FormOfText(l0, l1, false);
  return form == TextForm::Nothing ? TextForm::TabText : form;
}

// A double quote that begins a field (at the start of the line or after a
// TAB) may open a cell that spans lines, which only the whole text can
// tell; '"' and TAB are the same bytes in UTF-8 and CP932 and never part of
// another character.
bool QuoteBeginsField(std::string_view line) {
  // Quotes are rare and TABs are many: each quote is looked at, not each TAB.
  for (std::size_t at = line.find('"'); at != std::string_view::npos; at = line.find('"', at + 1)) {
    if (at == 0 || line[at - 1] == '\t') return true;
  }
  return false;
}

// Lines a tab text form needs before its row 256 is stored: rows begin at
// the first line, or after a title line.
std::size_t TabTextLines(TextForm form) {
  return form == TextForm::TabText || form == TextForm::WrappedA ? kLastRow : kLastRow + 1;
}

// For a line of a generated table below the kept ones: as much of its
// working text, as inside text, as decides whether it is a row and whether
// it is empty.
std::string WorkingHead(const GeneratedTableShape& shape, std::string_view raw,
                        const Codec& codec) {
  if (shape.QuoteDropped(raw)) return std::string(shape.Working(codec.Head(raw, 3)));
  // Blanks are ASCII in both encodings.
  return codec.Head(StripLeading(raw), 2);
}

// What the reader makes of one input in one encoding, fed a line at a time:
// the first lines are kept whole, the rest measured.
class InputReader {
 public:
  explicit InputReader(bool utf8) : codec_(utf8) {}

  // A copy that reads on in the other encoding: for lines so far all ASCII,
  // which read alike in both.
  InputReader InOtherEncoding() const {
    InputReader other(*this);
    other.codec_ = Codec(!codec_.Utf8());
    return other;
  }

  void Feed(std::string_view line) {
    switch (stage_) {
      case Stage::Head:
        if (!HeadIsComplete()) return KeepHead(line);
        stage_ = Stage::Tail;
        pending_.assign(line);
        return;
      case Stage::Tail:
        Pending(false);
        if (stage_ == Stage::Tail) {
          pending_.assign(line);
          return;
        }
        [[fallthrough]];
      case Stage::QuotedTail:
        if (line.starts_with(prefix_)) line.remove_prefix(prefix_.size());
        quotedTail_.push_back(codec_.Convert(line));
        return;
      case Stage::Ended:
        return;
    }
  }

  // The input has ended: its last line, held back until now, is measured.
  void EndOfInput() {
    if (stage_ != Stage::Tail) return;
    Pending(true);
    stage_ = Stage::Ended;
  }

  // The whole input read: the reader's reading of what was kept, with what
  // stands in for the lines only measured.
  ReadReport Finish(Document& doc) {
    if (!decided_) Decide();
    EndOfInput();
    const bool tail = stage_ != Stage::Head;
    std::vector<std::string> lines = std::move(kept_);
    long rowsAdjust = 0;
    if (tail) rowsAdjust = AppendStandIns(lines);
    std::move(quotedTail_.begin(), quotedTail_.end(), std::back_inserter(lines));
    const WrapStyle wrap = lines.empty() ? WrapStyle::Plain : WrapOfFirstLine(lines[0]);
    ReadReport report = ReadClipboardLines(doc, lines);
    if (report.kind == ReadReport::Kind::GeneratedTable ||
        report.kind == ReadReport::Kind::WrappedTabText) {
      wrap_ = wrap;
    }
    // What the window reads as nothing (lines without a TAB, say) the filter
    // reads as tab text: it never turns the user's text into no table.
    if (report.kind == ReadReport::Kind::Nothing) report = ReadPlainTabText(doc, lines);
    report.rowsLeftOut += rowsAdjust;
    report.linesLeftOut += tailLinesAfter_;
    return report;
  }

  bool Utf8() const { return codec_.Utf8(); }
  std::size_t Replaced() const { return codec_.Replaced(); }
  const std::string& Prefix() const { return prefix_; }
  WrapStyle Wrap() const { return wrap_; }

 private:
  enum class Stage { Head, Tail, QuotedTail, Ended };

  // Keeps lines until the grid's last row is among them. The first ones
  // wait until they tell whether they begin a Markdown table.
  void KeepHead(std::string_view line) {
    std::string converted = codec_.Convert(line);
    if (!decided_) {
      head_.push_back(std::move(converted));
      if (head_.size() == kMarkdownHeadLines) Decide();
      return;
    }
    KeepConverted(std::move(converted));
  }

  void Decide() {
    decided_ = true;
    markdown_ = FindMarkdownTable(head_);
    if (markdown_) {
      form_ = TextForm::MarkdownTable;
      prefix_ = markdown_->prefix;
    }
    std::vector<std::string> head = std::move(head_);
    for (std::string& line : head) KeepConverted(std::move(line));
  }

  void KeepConverted(std::string converted) {
    if (markdown_) return KeepMarkdownLine(std::move(converted));
    if (kept_.empty()) prefix_ = TablePrefix(converted);
    Keep(std::move(converted));
    // Once the form is known: a quoted cell may span lines, so the lines are
    // kept whole from the first quote that begins a field.
    for (; !whole_ && kept_.size() >= 2 && quotesChecked_ < kept_.size(); ++quotesChecked_) {
      whole_ = Quoted(kept_[quotesChecked_], quotesChecked_ == 0);
    }
  }

  // A line of a Markdown table's text, kept with its prefix for the reader,
  // which tells by it where the table ends; its rows are counted.
  void KeepMarkdownLine(std::string line) {
    kept_.push_back(std::move(line));
    const std::size_t i = kept_.size() - 1;
    if (i < markdown_->headerLine || i == markdown_->headerLine + 1 || markdownEnded_) return;
    const int height = MarkdownRowHeight(kept_[i], prefix_);
    markdownEnded_ = height == 0;
    markdownRows_ += height;
  }

  // The line below the kept ones before the one now read. From a line whose
  // quote may open a cell of several lines, the rest is kept whole for the
  // reader: the lines before it were rows of their own.
  void Pending(bool last) {
    // The prefix is ASCII: the same bytes in either encoding.
    if (!markdown_ && pending_.starts_with(prefix_)) pending_.erase(0, prefix_.size());
    if (Quoted(pending_, false)) {
      quotedTail_.push_back(codec_.Convert(pending_));
      stage_ = Stage::QuotedTail;
      return;
    }
    TailLine(pending_, last);
  }

  // Whether the reader may take a quote in this line for the start of a
  // cell that spans lines: in tab text, and in a first line that begins
  // with one (a first cell of several lines makes the text tab text).
  bool Quoted(std::string_view line, bool first) const {
    return (first && StartsWith(line, "\"")) ||
           (form_ == TextForm::TabText && QuoteBeginsField(line));
  }

  bool HeadIsComplete() const {
    if (!decided_) return false;
    if (markdown_) return markdownEnded_ || markdownRows_ >= kLastRow;
    if (whole_ || kept_.size() < 2) return false;
    switch (form_) {
      case TextForm::GeneratedTable:
        return generatedRows_ >= kLastRow;
      default:
        return kept_.size() >= TabTextLines(form_);
    }
  }

  void Keep(std::string line) {
    if (line.starts_with(prefix_)) line.erase(0, prefix_.size());
    kept_.push_back(std::move(line));
    if (kept_.size() == 2) {
      form_ = FormOf(kept_[0], kept_[1]);
      if (form_ == TextForm::GeneratedTable) shape_.emplace(kept_[0]);
    }
    if (form_ != TextForm::GeneratedTable || kept_.size() < 2) return;
    KeepGeneratedLine();
  }

  // Rows are counted from line 5, at or after the reader's first data line,
  // so the kept lines hold at least 256 rows. A rule line right after
  // another replaces it there, unless that one gives the widths, so runs of
  // rule lines cost no memory.
  void KeepGeneratedLine() {
    const std::size_t i = kept_.size() - 1;
    if (!widthRule_ && shape_->IsWidthRule(kept_[i])) widthRule_ = i;
    if (i < kFirstCountedLine) return;
    const bool row = shape_->IsRow(shape_->Working(kept_[i]));
    if (row) {
      ++generatedRows_;
    } else if (!previousWasRow_ && i > kFirstCountedLine && widthRule_ != i - 1) {
      kept_[i - 1] = std::move(kept_[i]);
      kept_.pop_back();
      if (widthRule_ == i) widthRule_ = i - 1;
    }
    previousWasRow_ = row;
  }

  void TailLine(std::string& raw, bool last) {
    switch (form_) {
      case TextForm::GeneratedTable:
        codec_.Measure(raw);
        if (!widthRuleLine_ && !widthRule_ && shape_->IsWidthRule(codec_.Head(raw, 8))) {
          widthRuleLine_ = codec_.ConvertUncounted(raw);
        }
        if (!last) {
          const std::string working = WorkingHead(*shape_, raw, codec_);
          if (shape_->IsRow(working) && !working.empty()) ++tailRows_;
        }
        return;
      case TextForm::WrappedC:
        if (last) {
          // A closing "}" or "*/" alone on the last line is no row.
          codec_.Measure(raw);
          if (!IsClosingMarkLine(raw) && !raw.empty()) ++tailRows_;
          return;
        }
        break;
      case TextForm::WrappedA:
      case TextForm::WrappedB: {
        // The quote goes from the inside text, as the reader takes it out:
        // taken from the bytes, it could join those on either side.
        std::string inside = codec_.Convert(raw);
        if (const std::size_t quote = inside.find('\''); quote != std::string::npos) {
          inside.erase(quote, 1);
        }
        WidenToColumnFields(inside, widths_);
        if (!inside.empty()) ++tailRows_;
        return;
      }
      case TextForm::MarkdownTable: {
        // In CP932 a '|' or '\\' may be the second byte of a character: the
        // line is looked at as inside text.
        const std::string line = codec_.Convert(raw);
        if (!markdownEnded_) {
          const int height = MarkdownRowHeight(line, prefix_);
          markdownEnded_ = height == 0;
          tailRows_ += height;
          if (height > 0) return;
        }
        if (!BlankBehindPrefix(line, prefix_)) ++tailLinesAfter_;
        return;
      }
      case TextForm::TabText:
      case TextForm::Nothing:  // known before any line is measured
        break;
    }
    MeasureFields(raw);
    if (!raw.empty()) ++tailRows_;
  }

  // Widens widths_ to the fields that reach the grid, as the reader widens
  // its columns, and counts the whole line.
  void MeasureFields(std::string_view line) { codec_.WidenFields(line, widths_); }

  // What stands in for the lines below the kept ones, so that the reader
  // gives the whole text's widths; returns the change to its row count.
  long AppendStandIns(std::vector<std::string>& lines) const {
    // A Markdown table's widths are those of the cells the grid holds.
    if (markdown_) return tailRows_;
    if (form_ == TextForm::GeneratedTable) {
      // The last line is never a row, but may be the rule line of the widths.
      lines.push_back(widthRuleLine_.value_or(""));
      return tailRows_;
    }
    // One line below row 256 as wide as the widest fields below it, and for
    // the wrapped form an empty last line, which is not measured.
    std::string widest;
    const auto used = std::find_if(widths_.rbegin(), widths_.rend(), [](auto w) { return w > 0; });
    for (auto w = widths_.begin(); w != used.base(); ++w) {
      if (w != widths_.begin()) widest += '\t';
      widest.append(*w, ' ');
    }
    const bool standIn = !widest.empty();
    lines.push_back(std::move(widest));
    if (form_ == TextForm::WrappedC) lines.emplace_back();
    return tailRows_ - (standIn ? 1 : 0);
  }

  static constexpr std::size_t kFirstCountedLine = 5;

  Codec codec_;
  Stage stage_ = Stage::Head;
  std::string prefix_;  // the table's line prefix, taken off every line
  WrapStyle wrap_ = WrapStyle::Plain;
  std::vector<std::string> kept_;
  bool whole_ = false;                   // every line is kept: a quote may open a cell of lines
  std::size_t quotesChecked_ = 0;        // kept lines looked at for such a quote
  std::vector<std::string> quotedTail_;  // the lines kept whole below the measured ones
  std::string pending_;
  TextForm form_ = TextForm::Nothing;
  std::optional<GeneratedTableShape> shape_;
  long generatedRows_ = 0;
  bool previousWasRow_ = true;
  std::optional<std::size_t> widthRule_;           // among the kept lines
  std::optional<std::string> widthRuleLine_;       // below them
  std::array<std::size_t, kDataFields> widths_{};  // of the fields below the kept lines
  long tailRows_ = 0;
  // Before the form is decided: the first lines, until they tell whether
  // they begin a Markdown table.
  bool decided_ = false;
  std::vector<std::string> head_;
  std::optional<MarkdownStart> markdown_;
  bool markdownEnded_ = false;  // a line has ended the Markdown table
  long markdownRows_ = 0;       // grid rows of the kept lines
  long tailLinesAfter_ = 0;     // non-blank lines below them after the table's end
};

}  // namespace

ReadReport ReadFilterInput(Document& doc, std::istream& in, std::optional<bool> utf8,
                           InputOutcome& outcome) {
  LineReader lines(in, utf8.value_or(true), outcome);
  // Until the input is known to be UTF-8 or not, it is read both ways, from
  // its first character outside ASCII by two readers, and the one ReadsAsUtf8
  // says is kept: one stray bad byte does not make a UTF-8 text CP932. It
  // decides at the end, or at the line that brings kEncodingEvidence bytes
  // above 0x7F, which is evidence enough.
  std::optional<InputReader> asUtf8, asCp932;
  if (utf8.value_or(true)) {
    asUtf8.emplace(true);
  } else {
    asCp932.emplace(false);
  }
  bool undecided = !utf8.has_value();
  std::size_t nonAscii = 0, bad = 0;  // bytes above 0x7F, bad UTF-8, while undecided
  // Keeps one reader.
  const auto decide = [&] {
    undecided = false;
    if (!asUtf8 || !asCp932) return;
    if (ReadsAsUtf8(bad, nonAscii)) {
      asCp932.reset();
    } else {
      asUtf8.reset();
    }
  };
  // Input that begins with a tag may be an HTML table: it is kept whole.
  std::optional<std::string> html;
  std::string_view line;
  for (bool first = true; lines.Next(line); first = false) {
    if (first && undecided && lines.bom()) undecided = false;
    if (first) {
      const std::string_view head = StripLeading(line);
      if (head.size() >= 2 && head[0] == '<' &&
          (std::isalpha(static_cast<unsigned char>(head[1])) || head[1] == '!')) {
        html.emplace();
      }
    }
    if (html) html->append(line).push_back('\n');
    if (undecided && !asCp932 && AsciiPrefixLength(line) < line.size()) {
      asCp932.emplace(asUtf8->InOtherEncoding());
    }
    if (undecided && asCp932) {
      nonAscii += NonAsciiBytes(line);
      bad += BadUtf8Count(line);
    }
    if (asUtf8) asUtf8->Feed(line);
    if (asCp932) asCp932->Feed(line);
    if (undecided && nonAscii >= kEncodingEvidence) decide();
  }
  outcome.readError = lines.error();
  if (outcome.readError != 0) return {};
  if (undecided) decide();
  InputReader& reader = asUtf8 ? *asUtf8 : *asCp932;
  outcome.utf8 = reader.Utf8();
  if (html) {
    // What decoding the HTML replaced counts only when its cells are read:
    // otherwise the reader's own count of the same text stands.
    std::size_t htmlReplaced = 0;
    const std::optional<std::string> cells = TabTextFromHtml(
        outcome.utf8 ? *html : Utf8FromInside(InsideFromCp932(*html, &htmlReplaced)));
    if (cells) {
      outcome.replaced += htmlReplaced;
      return ReadTabCells(doc, InsideFromUtf8(*cells, &outcome.replaced));
    }
  }
  const ReadReport report = reader.Finish(doc);
  outcome.replaced += reader.Replaced();
  outcome.prefix = reader.Prefix();
  outcome.wrap = reader.Wrap();
  return report;
}

}  // namespace tabulon
