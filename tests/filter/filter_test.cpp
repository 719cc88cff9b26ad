#include "filter/filter.h"

#include <gtest/gtest.h>

#include <sstream>

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
  const FilterRun sj = Filter("\x95\x5c\t1\nb\t2\n", {"--trim", "--input-encoding", "cp932"});
  EXPECT_NE(sj.out.find("|  1|表|1 |"), std::string::npos) << sj.out;
  EXPECT_EQ(sj.err, "");
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
}

TEST(Filter, ContradictionsAreRefusedWithOneLine) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--trim", "--width", "40"}, "--trim and --width exclude each other"},
      {{"--rules", "none", "--column-headings"}, "--rules none has no column headings"},
      {{"--row-headings", "--rules", "none"}, "--rules none has no row headings"},
      {{"--rules", "none", "--trim"}, "--rules none takes no --trim"},
      {{"--rules", "none", "--width", "50"}, "--rules none takes no --width"},
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
                                             {"--title"},
                                             {"--title", "two\nlines"},
                                             {"--frobnicate"}}) {
    const FilterRun r = Filter(kCells, args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_NE(r.err.find("Usage: tabulon-filter"), std::string::npos) << args[0];
  }
}

TEST(Filter, TitleLimitIsCountedInCp932Bytes) {
  const std::string kanji48 = [] {
    std::string s;
    for (int i = 0; i < 48; ++i) s += "表";
    return s;
  }();
  EXPECT_EQ(Filter(kCells, {"--title", kanji48 + "a"}).status, 0);  // 97 bytes
  const FilterRun r = Filter(kCells, {"--title", kanji48 + "ab"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "tabulon-filter: the title is 98 bytes in CP932; at most 97 fit\n");
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

TEST(Filter, EmptyInputGivesTheEmptyTable) {
  const FilterRun r = Filter("", {"--trim", "--no-title"});
  EXPECT_EQ(r.out, "+-^--===-^+\n| ＼|a |b |\n+---+--+--+\n|  1|  |  |\n+---+--+--+\n");
}

}  // namespace
}  // namespace tabulon
