#include "filter/filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ios>
#include <random>
#include <sstream>
#include <system_error>
#include <tuple>

#include "document/blanks.h"
#include "document/codec.h"
#include "document/inside_text.h"
#include "document/text_columns.h"
#include "filter/input.h"
#include "support/text.h"
#include "table/writer.h"

namespace tabulon {
namespace {

struct FilterRun {
  int status;
  std::string out, err;
};

FilterRun Filter(const std::string& input, std::vector<std::string> args) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunFilter(args, in, out, err);
  return {status, out.str(), err.str()};
}

constexpr const char* kCells = "x\t12\nyy\t3\n";

TEST(Filter, TrimmedTableOfTwoColumns) {
  const FilterRun r = Filter(kCells, {"--trim"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "+-^---==-^+\n"
            "|         |\n"
            "+---+--+--+\n"
            "| ＼|a |b |\n"
            "+---+--+--+\n"
            "|  1|x |12|\n"
            "+---+--+--+\n"
            "|  2|yy| 3|\n"
            "+---+--+--+\n");
  EXPECT_EQ(r.err, "");
}

TEST(Filter, OptionsApplyInAFixedOrderThroughTheHandlers) {
  // --width given before --rules: 桁数 is still checked after the rule style.
  const FilterRun r = Filter(kCells, {"--width", "20", "--rules=box", "--no-title",
                                      "--no-row-headings", "--wrap", "slash", "--crlf"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.substr(0, 2), "/*");
  EXPECT_NE(r.out.find("┌^--==--^"), std::string::npos);
  EXPECT_NE(r.out.find("┘*/\r\n"), std::string::npos);
  // --no-trim after --trim: the last wins, so --width is no contradiction.
  EXPECT_EQ(Filter(kCells, {"--trim", "--no-trim", "--width", "30"}).status, 0);
  // A trimmed table read back checks 空白列切捨て; --width still gives its width.
  const FilterRun widened = Filter(Filter(kCells, {"--trim"}).out, {"--width", "20"});
  EXPECT_EQ(widened.out.substr(0, widened.out.find('\n')), "+-^---==-^---------+");
}

TEST(Filter, RulesNoneWritesTabText) {
  const FilterRun r = Filter(kCells, {"--rules", "none", "--title", "Plan", "--wrap", "brace"});
  EXPECT_EQ(r.out, "{Plan\nx \t12\t\nyy\t 3\t\n}\n");
}

TEST(Filter, EncodingsAndReplacementWarning) {
  const FilterRun r = Filter("\xE2\x98\x83\t1\nb\t2\n", {"--trim", "--output-encoding", "cp932"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("|  1|? |1 |"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("| \x81\x5f|"), std::string::npos);  // the corner, as CP932 bytes
  EXPECT_EQ(r.err, "tabulon-filter: 1 character that CP932 lacks written as \"?\"\n");
  // Kept where the output is UTF-8; bytes that are no character are told as read.
  EXPECT_EQ(Filter("\xE2\x98\x83\t1\n", {"--trim"}).err, "");
  const FilterRun bad = Filter("\x95\x5c\xA0\t1\nb\t2\n", {"--output-encoding", "utf-8"});
  EXPECT_NE(bad.out.find("|表\uFFFD|"), std::string::npos) << bad.out;
  EXPECT_EQ(bad.err, "tabulon-filter: 1 invalid byte sequence read as U+FFFD\n");
  // The input's encoding is found, and the table written in it, unless the
  // flags say otherwise; "表" is 0x95 0x5C in CP932.
  const struct {
    std::string input;
    std::vector<std::string> flags;
    std::string row;
  } cases[] = {
      {"\x95\x5c\t1\nb\t2\n", {}, "|  1|\x95\x5c|1 |"},
      {"表\t1\nb\t2\n", {}, "|  1|表|1 |"},
      {"\xEF\xBB\xBF\x95\x5c\t1\nb\t2\n", {}, "|  1|\uFFFD\\|1 |"},  // the mark says UTF-8
      {"b\t1\n表\t2\n\x95\x5c\t3\n", {}, "|  3|\x95\x5c |3 |"},      // too many bad bytes for UTF-8
      {"表表表表表表\t1\nb\t\xFF\n", {}, "|  2|b           |\uFFFD |"},  // one stray byte
  };
  for (const auto& c : cases) {
    std::vector<std::string> flags = c.flags;
    flags.push_back("--trim");
    const FilterRun run = Filter(c.input, flags);
    EXPECT_NE(run.out.find(c.row), std::string::npos) << c.input << "\n" << run.out;
  }
}

TEST(Filter, ByteOrderMarkIsNotText) {
  EXPECT_EQ(Filter("\xEF\xBB\xBFx\t1\ny\t2\n", {"--trim"}).out,
            Filter("x\t1\ny\t2\n", {"--trim"}).out);
}

TEST(Filter, LeftOutRowsAndFieldsAreReported) {
  std::string text;
  for (int r = 0; r < 258; ++r) text += "a\tb\n";
  text += "x";
  for (int f = 0; f < 37; ++f) text += "\tf";
  text += "\n";
  const FilterRun r = Filter(text, {});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "tabulon-filter: left out 3 rows beyond row 256\n");
  const FilterRun md = Filter("| a |\n|---|\n| 1 |\n\nnext\n", {});
  EXPECT_EQ(md.out, "|    a |\n| ---: |\n|    1 |\n");
  EXPECT_EQ(md.err, "tabulon-filter: left out 1 line after the end of the Markdown table\n");
  // A wrap asks for a ruled table, as the preview's 形式 does.
  EXPECT_EQ(Filter("| a |\n|---|\n", {"--wrap=hash"}).out.substr(0, 8), "# +-^--=");
}

// Whole columns that the line width leaves out, in every rule style.
TEST(Filter, ColumnsBeyondTheLineWidthAreReported) {
  std::string row = "a";
  for (int c = 1; c < 35; ++c) row += "\t" + std::string(5, static_cast<char>('a' + c % 26));
  row += "\n" + row + "\n";  // one line alone is no table
  const FilterRun none = Filter(row, {"--rules", "none"});
  EXPECT_EQ(std::count(none.out.begin(), none.out.end(), '\t'), 2 * 17) << none.out;
  EXPECT_EQ(
      none.err,
      "tabulon-filter: left out 18 columns with text that did not fit in the line width of 99\n");
  EXPECT_EQ(
      Filter(row, {"--width", "40"}).err,
      "tabulon-filter: left out 28 columns with text that did not fit in the line width of 40\n");
  EXPECT_EQ(Filter(kCells, {"--rules", "none"}).err, "");
}

TEST(Filter, ContradictionsAreRefusedWithOneLine) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--trim", "--width", "40"}, "--trim and --width exclude each other"},
      {{"--rules", "none", "--column-headings"}, "--rules none has no column headings"},
      {{"--row-headings", "--rules", "none"}, "--rules none has no row headings"},
      {{"--rules", "none", "--trim"}, "--rules none takes no --trim"},
      {{"--rules", "none", "--width", "50"}, "--rules none takes no --width"},
      {{"--width", "50", "--rules=markdown"}, "--rules markdown takes no --width"},
  };
  for (const auto& [args, reason] : cases) {
    const FilterRun r = Filter(kCells, args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "tabulon-filter: " + reason + "\n");
    EXPECT_EQ(r.out, "");
  }
}

TEST(Filter, BadValuesAndUnknownFlagsShowTheUsage) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--width", "11"},
                                             {"--width", "100"},
                                             {"--width", "4O"},
                                             {"--rules", "html"},
                                             {"--wrap", "xml"},
                                             {"--input-encoding", "latin1"},
                                             {"--ambiguous", "half"},
                                             {"--title"},
                                             {"--title", "two\nlines"},
                                             {"--frobnicate"}}) {
    const FilterRun r = Filter(kCells, args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_NE(r.err.find("Usage: tabulon-filter"), std::string::npos) << args[0];
  }
}

// --ambiguous narrow counts ○ ① α one column and rules a box with one "─"
// a column; without the flag a table keeps the count it was written with,
// and the flag turns a table of the other count into its own.
TEST(Filter, AmbiguousWidthsAreAskedForOrKeptFromTheTable) {
  // Kanji give the widths under both; U+FE0F takes ○ out of the quick road.
  const std::string cells = "名前\t記号\n○\uFE0F○\t①α\n";
  EXPECT_EQ(Filter(cells, {"--rules", "box", "--trim", "--no-title", "--no-row-headings",
                           "--no-column-headings", "--ambiguous", "narrow"})
                .out,
            "┌^--=---^─┐\n│名前│記号│\n├────┼────┤\n│○\uFE0F○  │①α  │\n└────┴────┘\n");
  for (const char* rules : {"box", "ascii"}) {
    const std::string wide = Filter(cells, {"--rules", rules, "--trim"}).out;
    const std::string narrow =
        Filter(cells, {"--rules", rules, "--trim", "--ambiguous=narrow"}).out;
    EXPECT_NE(narrow, wide);
    EXPECT_EQ(Filter(narrow, {}).out, narrow) << rules;
    EXPECT_EQ(Filter(wide, {"--ambiguous", "narrow"}).out, narrow) << rules;
    EXPECT_EQ(Filter(narrow, {"--ambiguous", "wide"}).out, wide) << rules;
    // CP932 out keeps the code page's characters under either count.
    std::string cp932 = narrow;
    cp932.erase(cp932.find("\uFE0F"), 3);
    EXPECT_EQ(Cp932ToUtf8(Filter(narrow, {"--output-encoding", "cp932"}).out), cp932) << rules;
  }
}

TEST(Filter, TitleLimitIsCountedInColumns) {
  const std::string kanji48 = [] {
    std::string s;
    for (int i = 0; i < 48; ++i) s += "表";
    return s;
  }();
  EXPECT_EQ(Filter(kCells, {"--title", kanji48 + "a"}).status, 0);  // 97 columns
  EXPECT_EQ(Filter(kCells, {"--title", kanji48 + "é"}).status, 0);  // é is one
  const FilterRun r = Filter(kCells, {"--title", kanji48 + "ab"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "tabulon-filter: the title is 98 columns wide; at most 97 fit\n");
  EXPECT_EQ(Filter(kCells, {"--title", kanji48 + "✅"}).status, 2);  // ✅ is two
  // --no-title after a long --title: the last wins and nothing is refused.
  EXPECT_EQ(Filter(kCells, {"--title", kanji48 + "ab", "--no-title"}).status, 0);
}

TEST(Filter, HelpAndVersion) {
  const FilterRun help = Filter("", {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, FilterUsage());
  const FilterRun version = Filter("", {"--version"});
  EXPECT_EQ(version.out.rfind("tabulon-filter ", 0), 0u);
}

// No filter run turns text into nothing: one row and one column are
// tables, and text without a cell goes back as it came, with status 1.
TEST(Filter, EveryTextGivesATableOrComesBackUnchanged) {
  const struct {
    std::string input;
    int status;
    std::string out;
  } cases[] = {
      {"abc\tafter\n", 0, "+-^--===-^----+\n| ＼|a  |b    |\n+---+---+-----+\n|  1|abc|after|\n"},
      {"one\ntwo\n", 0,
       "+-^--===-^-+\n| ＼|a  |b |\n+---+---+--+\n|  1|one|  |\n+---+---+--+\n|  2|two|"},
      // An HTML table, as a spreadsheet or a browser offers it.
      {"<table><tr><td>名前</td><td>12</td></tr><tr><td colspan=2>x<br>y</td></tr></table>", 0,
       "+-^--===-^--+\n| ＼|a   |b |\n+---+----+--+\n|  1|名前|12|\n+---+----+--+\n|  2|x   |  |\n"
       "|  3|y   |  |\n"},
      {"", 1, ""},
      {"\xEF\xBB\xBF \r\n\t\n\n", 1, "\xEF\xBB\xBF \r\n\t\n\n"},
  };
  for (const auto& c : cases) {
    const FilterRun r = Filter(c.input, {"--trim", "--no-title"});
    EXPECT_EQ(r.status, c.status) << c.input;
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out) << c.input;
    if (c.status == 1) {
      EXPECT_EQ(r.out, c.input);
      EXPECT_EQ(r.err, "tabulon-filter: no cells in the input; it is written back unchanged\n");
    }
  }
}

// A stream that hands its text over a few bytes at a time, as a pipe may,
// and fails with EIO after `failAfter` bytes.
class Trickle : public std::streambuf {
 public:
  Trickle(std::string text, unsigned seed, std::size_t failAfter = std::string::npos)
      : text_(std::move(text)), random_(seed), failAfter_(failAfter) {}

 protected:
  std::streamsize xsgetn(char* s, std::streamsize n) override {
    if (pos_ >= failAfter_) {
      throw std::ios_base::failure("read", std::error_code(EIO, std::generic_category()));
    }
    const std::size_t size = std::min<std::size_t>(
        {static_cast<std::size_t>(n), text_.size() - pos_, 1 + random_() % 7});
    text_.copy(s, size, pos_);
    pos_ += size;
    return static_cast<std::streamsize>(size);
  }

 private:
  std::string text_;
  std::size_t pos_ = 0;
  std::minstd_rand random_;
  std::size_t failAfter_;
};

// A standard output that takes nothing: the disk is full.
class FullDisk : public std::streambuf {
 protected:
  int overflow(int) override {
    errno = ENOSPC;
    return traits_type::eof();
  }
};

// What reading leaves: the table written from it, the counts of what was
// left out and of what was read as U+FFFD. Read whole, as the window reads the clipboard, or a
// line at a time from a trickling stream, as the filter reads its input.
using Read = std::tuple<std::vector<std::string>, long, long, long, std::size_t>;
// The stream is read in the encoding `utf8` says, or, unset, in the one
// found; the whole text in the encoding `utf8` says.
Read ReadInput(const std::string& input, std::optional<bool> utf8, bool whole, unsigned seed) {
  Document doc;
  SetUpGrid(doc);
  ReadReport report;
  std::size_t replaced = 0;
  if (whole) {
    std::vector<std::string> lines =
        SplitLines(*utf8 ? InsideFromUtf8(WithoutUtf8Bom(input), &replaced)
                         : InsideFromCp932(input, &replaced));
    report = ReadClipboardLines(doc, lines);
    if (report.kind == ReadReport::Kind::Nothing) report = ReadPlainTabText(doc, lines);
  } else {
    Trickle source(input, seed);
    std::istream in(&source);
    InputOutcome outcome;
    report = ReadFilterInput(doc, in, utf8, outcome);
    if (utf8 && outcome.utf8 != *utf8) return {{"read in the other encoding"}, 0, 0, 0, 0};
    replaced = outcome.replaced;
  }
  return {WriteTable(doc).lines, report.rowsLeftOut, report.fieldsLeftOut, report.linesLeftOut,
          replaced};
}

// One of the '~'-separated choices.
std::string Pick(std::mt19937& random, std::string_view choices) {
  for (std::size_t skip = random() % (std::count(choices.begin(), choices.end(), '~') + 1); skip;
       --skip) {
    choices.remove_prefix(choices.find('~') + 1);
  }
  return std::string(choices.substr(0, choices.find('~')));
}

// Inputs of every form the reader knows, mostly longer than the grid, with
// what decides each form above and below row 256: rule lines, quotes
// (a comment's, and a spreadsheet's around a cell of lines), closing lines, wide fields, bad UTF-8
// and every kind of line break. Every third is a table this program wrote, grown past the grid,
// with the rule line that gives the widths anywhere and another right after it; every sixth a
// Markdown table behind a prefix, with rows of several lines, bars CP932 may hide in a character,
// and what ends it anywhere.
std::string RandomInput(std::mt19937& random, bool generated, bool markdown = false) {
  std::vector<std::string> lines;
  if (markdown) {
    const std::string prefix = Pick(random, "~  ~> ~// ~# ~\t");
    if (random() % 2) lines = {prefix + "T", prefix.substr(0, random() % 2)};
    lines.push_back(prefix + "| a | b |");
    lines.push_back(prefix + Pick(random, "|---|--:|~-|-~:-:|-"));
    for (int n = 200 + random() % 100; n > 0; --n) {
      lines.push_back((random() % 90 ? prefix : "") +
                      Pick(random, random() % 80 ? "| x | 1 |~a|b|c~| p<br>q | 表 |~x<BR/>y<br>z|~"
                                                   "| \\| |~\x83\x7C|\x83\x5C|~\xFF|\xE3\x81"
                                                 : "~|~> q~- i~    code"));
    }
  } else if (generated) {
    lines.assign(257 + random() % 500, "");
    lines[0] = Pick(random, "+-^---==-^---+~'+-^--===-^+~{-^------^-+~┌^---==-^─┐~'┌^------^─┐");
    for (std::string& line : lines) {
      if (line.empty()) line = Pick(random, "|a |b |~'|a|~~  x~│表│~'");
    }
    const std::size_t at = 1 + random() % (lines.size() - 2);
    lines[at] = Pick(random, "+---+--+~'+--+~ab+--+~├──┼─┤~ └─┴┘~├┤");
    lines[at + 1] = Pick(random, "+-+~├┤");
  } else {
    lines.assign(std::stoi(Pick(random, "0~1~2~5~255~256~257~258~261~300~700")), "");
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (random() % 8 == 0) lines[i] = std::string(35, '\t') + "\xFF";  // beyond column 36
      for (int n = random() % 9; n > 0; --n) {
        lines[i] +=
            Pick(random,
                 "a~12~1,2~\t~\t~'~ ~+~+--~|~├~└─~┼~}~*/~表~\xFF~\xE3\x81~\xC0\xAF~😀~ｱ~¥~"
                 "wwwwwwwwwwwwwwww~\t\t\t\t~\"~\t\"~\"\"~\t\"p\nq\"~\t\"x\r\n\"\"y\"\"\n3\"\t");
      }
    }
    if (!lines.empty()) {
      lines[0] = Pick(random,
                      "x\ty~'x\ty~'title~{title~/*title~plain~+-^---==-^---+~+-^--===-^---+~"
                      "{-^---==-^-+~'+-^---==-^-+~┌^---==-^───┐~'┌^------^─┐~\xEF\xBB\xBFx\ty~"
                      "\"h\nh\"\tx~\"q\"\"\"\ty~\"");
      if (random() % 2) lines.back() = Pick(random, "}~ */ ~~+---+~└──┘~x\ty");
    }
  }
  const bool mixed = random() % 2;
  const std::string breaks = Pick(random, "\n~\r\n~\r");
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += mixed ? Pick(random, "\n~\r\n~\r") : breaks;
    text += lines[i];
  }
  if (random() % 2) text += breaks;
  return text;
}

// ReadsAsUtf8 over the lines up to the one that brings kEncodingEvidence
// bytes above 0x7F.
bool ReadsAsUtf8Up(std::string_view input) {
  std::size_t nonAscii = 0, bad = 0;
  while (!input.empty() && nonAscii < kEncodingEvidence) {
    const std::size_t end = std::min(input.find_first_of("\r\n"), input.size());
    nonAscii += NonAsciiBytes(input.substr(0, end));
    bad += BadUtf8Count(input.substr(0, end));
    input.remove_prefix(std::min(input.size(), end + 1));
  }
  return ReadsAsUtf8(bad, nonAscii);
}

TEST(FilterInput, ReadingALineAtATimeGivesWhatTheWholeTextGives) {
  std::mt19937 random(14);
  for (unsigned i = 0; i < 900; ++i) {
    const std::string input = RandomInput(random, i % 3 == 2, i % 6 == 1);
    const bool utf8 = i % 4 != 0;
    ASSERT_EQ(ReadInput(input, utf8, false, i), ReadInput(input, utf8, true, i))
        << "case " << i << ": " << input;
    // Without a flag: UTF-8 where the text begins with the mark or reads as
    // UTF-8, CP932 otherwise.
    const bool found = input.starts_with("\xEF\xBB\xBF") || ReadsAsUtf8Up(input);
    ASSERT_EQ(ReadInput(input, std::nullopt, false, i), ReadInput(input, found, true, i))
        << "case " << i << " found " << found << ": " << input;
  }
}

// Lines behind a prefix, an empty one behind the prefix without its blanks.
std::string Prefixed(const std::vector<std::string>& lines, const std::string& prefix) {
  std::string text;
  for (const std::string& line : lines) {
    text += (line.empty() ? std::string(StripTrailing(prefix)) : prefix) + line + "\n";
  }
  return text;
}

// A table kept in code: behind any line prefix, the filter gives it back
// with the same prefix; with one cell typed over by hand, the cells read are
// those of the changed grid.
TEST(FilterProperty, PrefixedAndHandEditedTablesComeBackInPlace) {
  std::mt19937 random(22);
  for (int i = 0; i < 400; ++i) {
    const int rows = 1 + random() % 5, cols = 1 + random() % 4;
    std::string cells;
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < cols; ++c) {
        cells +=
            (c ? "\t" : "") + Pick(random, c ? "x~12~ab cd~~表~ｶﾅ~3,000" : "x~12~表 ~ボールペン");
      }
      cells += "\n";
    }
    const bool title = random() % 2, columnHeadings = random() % 2, rowHeadings = random() % 2;
    const std::vector<std::string> args = {
        "--rules",
        Pick(random, "ascii~box"),
        title ? "--title=Plan" : "--no-title",
        columnHeadings ? "--column-headings" : "--no-column-headings",
        rowHeadings ? "--row-headings" : "--no-row-headings",
        Pick(random, "--trim~--no-trim"),
        "--wrap",
        Pick(random, "plain~brace~slash~quote")};
    std::vector<std::string> table = SplitLines(Filter(cells, args).out);
    const std::string prefix = Pick(random, "    ~\t~// ~    // ~  # ~-- ~;; ~% ~ * ~REM ~\t#");
    const FilterRun back = Filter(Prefixed(table, prefix), {});
    ASSERT_EQ(back.out, Prefixed(table, prefix)) << i << ": " << cells;

    // Typed over by hand: longer, shorter, Japanese or empty, bars moved.
    const std::string typed = Pick(random, "a much longer text~s~東京都港区~~ lead");
    const int row = 1 + random() % rows, col = 1 + random() % cols;
    std::string& line = table[1 + (title ? 2 : 0) + (columnHeadings ? 2 : 0) + 2 * (row - 1)];
    std::vector<std::string> fields = {""};  // between the bars
    for (std::size_t p = 0; p < line.size(); ++p) {
      if (line[p] == '|' || line.compare(p, 3, "│") == 0) {
        if (line[p] != '|') p += 2;
        fields.emplace_back();
      } else {
        fields.back() += line[p];
      }
    }
    fields[(rowHeadings ? 1 : 0) + col] = typed;
    const std::string bar = line.find('|') != std::string::npos ? "|" : "│";
    line = fields[0];
    for (std::size_t f = 1; f < fields.size(); ++f) line += bar + fields[f];

    Document before, after;
    SetUpGrid(before);
    SetUpGrid(after);
    // The window reads the UTF-8 the filter writes as the document's text.
    ReadClipboardText(before, testing::Sj(Filter(cells, args).out));
    ReadClipboardText(after, testing::Sj(Prefixed(table, prefix)));
    before.grid.SetCell(col + 1, row, testing::Sj(typed));
    for (int r = 1; r <= rows; ++r) {
      for (int c = 0; c <= kLastCol; ++c) {
        ASSERT_EQ(after.grid.Cell(c, r), before.grid.Cell(c, r))
            << i << ": (" << c << ", " << r << ") of\n"
            << Prefixed(table, prefix);
      }
    }
  }
}

// A Markdown table kept in a README, a comment or a block quote: through the
// filter it comes back as it was; with one cell typed over by hand, its
// bars out of line, it comes back lined up, as the changed cells give it.
TEST(FilterProperty, MarkdownTablesComeBackAsTheyWereOrLinedUpAgain) {
  std::mt19937 random(31);
  for (int i = 0; i < 300; ++i) {
    const std::size_t cols = 1 + random() % 4;
    std::vector<std::string> cells(cols * (1 + random() % 5));
    for (std::string& cell : cells) cell = Pick(random, "x~12~ab cd~~表~ｶﾅ~3,000~a|b~○①");
    cells.back() += "z";  // the last row and column hold text
    const bool title = random() % 2;
    const auto written = [&] {  // the cells as the filter writes them in Markdown
      std::string text;
      for (std::size_t k = 0; k < cells.size(); ++k)
        text += cells[k] + ((k + 1) % cols ? "\t" : "\n");
      return SplitLines(Filter(text, {"--rules=markdown", "--no-column-headings",
                                      "--no-row-headings", title ? "--title=Plan" : "--no-title"})
                            .out);
    };
    std::vector<std::string> table = written();
    const std::string prefix = Pick(random, "~  ~> ~// ~# ~\t~    ~-- ");
    ASSERT_EQ(Filter(Prefixed(table, prefix), {}).out, Prefixed(table, prefix)) << i;

    // Typed over as Markdown source; the cell the grid then holds.
    const std::size_t k = random() % cells.size(), row = k / cols;
    const std::string typed = Pick(random, "a much longer text~s~東京都港区~~   lead~p\\|q~9") +
                              (k + 1 == cells.size() ? "z" : "");
    cells[k] = StripText(typed);
    ReplaceAllChars(cells[k], "\\|", "|");
    std::string& line = table[(title ? 2 : 0) + (row ? row + 1 : 0)];
    std::vector<std::size_t> bars;
    for (std::size_t p = 0; p < line.size(); ++p) {
      if (line[p] == '|' && (p == 0 || line[p - 1] != '\\')) bars.push_back(p);
    }
    line.replace(bars[k % cols] + 1, bars[k % cols + 1] - bars[k % cols] - 1, typed);
    ASSERT_EQ(Filter(Prefixed(table, prefix), {}).out, Prefixed(written(), prefix))
        << i << ":\n"
        << Prefixed(table, prefix);
  }
}

TEST(Filter, ReadAndWriteErrorsAreOneLineAndStatusOne) {
  Trickle failing(kCells, 1, 3);
  std::istream in(&failing);
  std::ostringstream out, err;
  EXPECT_EQ(RunFilter({}, in, out, err), 1);
  EXPECT_EQ(err.str(), "tabulon-filter: cannot read standard input: Input/output error\n");
  EXPECT_EQ(out.str(), "");

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {"--help"}, {"--version"}}) {
    std::istringstream cells(kCells);
    FullDisk disk;
    std::ostream full(&disk);
    std::ostringstream message;
    EXPECT_EQ(RunFilter(args, cells, full, message), 1);
    EXPECT_EQ(message.str(),
              "tabulon-filter: cannot write standard output: No space left on device\n");
  }
}

}  // namespace
}  // namespace tabulon
