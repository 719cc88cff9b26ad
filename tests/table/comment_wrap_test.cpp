#include "table/comment_wrap.h"

#include <gtest/gtest.h>

#include "support/text.h"

namespace tabulon {
namespace {

using testing::SjLines;
using testing::Utf8Lines;
using Lines = std::vector<std::string>;

const Lines kAscii = SjLines(testing::kSampleAscii);
const Lines kBox = SjLines(testing::kSampleBox);

Lines Wrap(Lines lines, int T, WrapStyle style, const OptionState& o) {
  WrapComment(lines, T, style, o);
  return Utf8Lines(lines);
}

TEST(CommentWrap, AsciiDelphiAndCReplaceOnlyTheCorners) {
  OptionState o;
  Lines d = Wrap(kAscii, 14, WrapStyle::Delphi, o);
  EXPECT_EQ(d.front(), "{-^---==-^---+");
  EXPECT_EQ(d.back(), "+---+---+----}");
  EXPECT_EQ(d[2], "+---+---+----+");
  Lines c = Wrap(kAscii, 14, WrapStyle::CFamily, o);
  EXPECT_EQ(c.front(), "/*^---==-^---+");
  EXPECT_EQ(c.back(), "+---+---+---*/");
  EXPECT_EQ(c.size(), kAscii.size());
}

TEST(CommentWrap, BasicQuotesEveryLineAndPlainChangesNothing) {
  OptionState o;
  const Lines b = Wrap(kAscii, 14, WrapStyle::Basic, o);
  ASSERT_EQ(b.size(), 9u);
  for (const std::string& line : b) EXPECT_EQ(line[0], '\'') << line;
  EXPECT_EQ(Wrap(kAscii, 14, WrapStyle::Plain, o), Utf8Lines(kAscii));
  o.SetChecked(Option::Ruled, false);
  EXPECT_EQ(Wrap(SjLines({" t", "x\t"}), 0, WrapStyle::Basic, o), (Lines{"' t", "'x\t"}));
}

// Line comments lead every line, an empty one without the blank; the
// leader a table's prefix holds names its wrap.
TEST(CommentWrap, LineCommentsLeadEveryLine) {
  OptionState o;
  EXPECT_EQ(Wrap(SjLines({"+-+", "", "|x|"}), 3, WrapStyle::Slashes, o),
            (Lines{"// +-+", "//", "// |x|"}));
  EXPECT_EQ(Wrap(SjLines({"┌─┐", ""}), 4, WrapStyle::Hash, o), (Lines{"# ┌─┐", "#"}));
  EXPECT_EQ(Wrap(kAscii, 14, WrapStyle::Markdown, o), Utf8Lines(kAscii));
  const struct {
    std::string_view prefix;
    WrapStyle wrap;
  } kPrefixes[] = {{"// ", WrapStyle::Slashes}, {"  //", WrapStyle::Slashes},
                   {"# ", WrapStyle::Hash},     {"\t#\t", WrapStyle::Hash},
                   {"", WrapStyle::Plain},      {"  ", WrapStyle::Plain},
                   {"-- ", WrapStyle::Plain},   {"### ", WrapStyle::Plain}};
  for (const auto& p : kPrefixes) EXPECT_EQ(WrapOfPrefix(p.prefix), p.wrap) << p.prefix;
}

TEST(CommentWrap, BoxStyleMarksOutsideTheFrame) {
  OptionState o;
  o.SetChecked(Option::BoxRules, true);
  Lines c = Wrap(kBox, 19, WrapStyle::CFamily, o);
  EXPECT_EQ(c.front(), "/*┌^---==-^───-┐");
  EXPECT_EQ(c[1], "  │Plan           │");
  EXPECT_EQ(c.back(), "  └──┴─-┴──┘*/");
  Lines d = Wrap(kBox, 19, WrapStyle::Delphi, o);
  EXPECT_EQ(d.front(), "{┌^---==-^───-┐");
  EXPECT_EQ(d[4], " ├──┼─-┼──┤");
  EXPECT_EQ(d.back(), " └──┴─-┴──┘}");
}

TEST(CommentWrap, UnruledWithTitleTakesTheTitleBlank) {
  OptionState o;
  o.SetChecked(Option::Ruled, false);
  const Lines text = SjLines({" Plan", "x  \tyy  \t", "12 \tz   \t"});
  EXPECT_EQ(Wrap(text, 0, WrapStyle::Delphi, o),
            (Lines{"{Plan", "x  \tyy  \t", "12 \tz   \t", "}"}));
  EXPECT_EQ(Wrap(text, 0, WrapStyle::CFamily, o).front(), "/*Plan");
  o.SetChecked(Option::Title, false);
  EXPECT_EQ(Wrap(SjLines({"x\t"}), 0, WrapStyle::CFamily, o), (Lines{"/*", "x\t", "*/"}));
}

TEST(CommentWrap, SingleLineGetsBothMarks) {
  OptionState o;
  EXPECT_EQ(Wrap(SjLines({"+-^--=---^-+"}), 12, WrapStyle::Delphi, o), (Lines{"{-^--=---^-}"}));
  o.SetChecked(Option::BoxRules, true);
  EXPECT_EQ(Wrap(SjLines({"┌┐"}), 4, WrapStyle::CFamily, o), (Lines{"/*┌┐*/"}));
}

TEST(CommentWrap, LastLineIsCutToTheWritersWidth) {
  // After a load, the last line need not be the writer's bottom line: a longer
  // one is cut to T - 2 columns, a shorter one keeps all of them.
  OptionState o;
  EXPECT_EQ(Wrap(SjLines({"+-^", "+----------+"}), 6, WrapStyle::CFamily, o).back(), "+---*/");
  EXPECT_EQ(Wrap(SjLines({"+-^", "+-+"}), 14, WrapStyle::Delphi, o).back(), "+-+-}");
  EXPECT_EQ(Wrap(SjLines({"no table", "x"}), 0, WrapStyle::Delphi, o), (Lines{"no table", "-}"}));
  Lines none;
  WrapComment(none, 14, WrapStyle::Delphi, o);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace tabulon
