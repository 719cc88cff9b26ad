#include "document/options.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tabulon {
namespace {

constexpr std::pair<Option, const char*> kNames[] = {{Option::ColumnHeadings, "colheads"},
                                                     {Option::RowHeadings, "rowheads"},
                                                     {Option::Title, "title"},
                                                     {Option::Trim, "trim"},
                                                     {Option::Ruled, "ruled"},
                                                     {Option::FixedWidth, "fixed"},
                                                     {Option::AsciiRules, "ascii"},
                                                     {Option::BoxRules, "box"},
                                                     {Option::WidthValue, "value"},
                                                     {Option::WidthArrows, "arrows"}};

// The controls for which `state` holds, by name, so a failure shows the whole picture.
std::string Set(const OptionState& o, bool (OptionState::*state)(Option) const) {
  std::string s;
  for (auto [c, name] : kNames)
    if ((o.*state)(c)) s += std::string(s.empty() ? "" : " ") + name;
  return s;
}
std::string Checked(const OptionState& o) {
  return Set(o, &OptionState::Checked);
}
std::string Enabled(const OptionState& o) {
  return Set(o, &OptionState::Enabled);
}

constexpr const char* kAllButWidth = "colheads rowheads title trim ruled fixed ascii box";

TEST(OptionDefaults, AsTheWindowIsDesigned) {
  const OptionState o;
  EXPECT_EQ(Checked(o), "colheads rowheads title ruled ascii");
  EXPECT_EQ(Enabled(o), kAllButWidth);
  EXPECT_EQ(o.Position(), 99);
  EXPECT_EQ(o.Title(), "");
  EXPECT_FALSE(o.BoxStyle());
}

TEST(OptionHandlers, SettingThePresentValueRunsNothing) {
  OptionState o;
  o.SetPosition(40);  // allowed by the model although 桁数 is unchecked
  int notified = 0;
  o.SetObserver([&] { ++notified; });
  o.SetChecked(Option::FixedWidth, false);  // its handler would reset the width to 99
  o.SetChecked(Option::Ruled, true);
  o.SetChecked(Option::ColumnHeadings, true);
  o.SetChecked(Option::AsciiRules, true);
  o.SetChecked(Option::WidthValue, true);  // not a check control
  o.SetPosition(40);
  o.SetTitle("");
  EXPECT_EQ(notified, 0);
  EXPECT_EQ(o.Position(), 40);
  EXPECT_EQ(Checked(o), "colheads rowheads title ruled ascii");
  o.SetChecked(Option::Title, false);
  EXPECT_GE(notified, 1);
}

TEST(OptionRuledLines, OffUnchecksAndDisablesHeadingsOnDoesNotRecheck) {
  OptionState o;
  o.SetChecked(Option::Ruled, false);
  EXPECT_EQ(Checked(o), "title ascii");
  EXPECT_EQ(Enabled(o), "title ruled");
  o.SetChecked(Option::Ruled, true);
  EXPECT_EQ(Checked(o), "title ruled ascii");
  EXPECT_EQ(Enabled(o), kAllButWidth);
}

TEST(OptionRuledLines, OnAgainReenablesWidthWhenFixedWidthStayedChecked) {
  OptionState o;
  o.SetChecked(Option::FixedWidth, true);
  o.SetPosition(40);
  o.SetChecked(Option::Ruled, false);
  EXPECT_EQ(Enabled(o), "title ruled");
  o.SetChecked(Option::Ruled, true);
  EXPECT_EQ(Checked(o), "title ruled fixed ascii");
  EXPECT_EQ(Enabled(o), "colheads rowheads title trim ruled fixed ascii box value arrows");
  EXPECT_EQ(o.Position(), 40);
}

TEST(OptionBlankColumnCut, ExcludesFixedWidthAndResetsWidth) {
  OptionState o;
  o.SetChecked(Option::FixedWidth, true);
  o.SetPosition(40);
  o.SetChecked(Option::Trim, true);
  EXPECT_FALSE(o.Checked(Option::FixedWidth));
  EXPECT_EQ(Enabled(o), "colheads rowheads title trim ruled ascii box");
  EXPECT_EQ(o.Position(), 99);
  o.SetChecked(Option::Trim, false);
  EXPECT_FALSE(o.Checked(Option::FixedWidth));
  EXPECT_EQ(Enabled(o), kAllButWidth);
}

TEST(OptionBlankColumnCut, RuledLinesOffAndOnLeaveFixedWidthEnabled) {
  OptionState o;
  o.SetChecked(Option::Trim, true);
  o.SetChecked(Option::Ruled, false);
  o.SetChecked(Option::Ruled, true);
  EXPECT_TRUE(o.Enabled(Option::FixedWidth));
  o.SetChecked(Option::FixedWidth, true);
  EXPECT_EQ(Checked(o), "title trim ruled fixed ascii");
  EXPECT_TRUE(o.Enabled(Option::WidthValue));
  EXPECT_TRUE(o.Enabled(Option::WidthArrows));
}

TEST(OptionFixedWidth, EnablesWidthControlsAndClampsTo12Through99) {
  OptionState o;
  o.SetChecked(Option::FixedWidth, true);
  EXPECT_EQ(Enabled(o), "colheads rowheads title trim ruled fixed ascii box value arrows");
  for (auto [in, out] : {std::pair{40, 40}, {12, 12}, {11, 12}, {-5, 12}, {100, 99}, {99, 99}}) {
    o.SetPosition(in);
    EXPECT_EQ(o.Position(), out) << in;
  }
  o.SetPosition(40);
  o.SetChecked(Option::FixedWidth, false);
  EXPECT_EQ(o.Position(), 99);
  EXPECT_EQ(Enabled(o), kAllButWidth);
}

TEST(OptionLineStyle, RadioButtonsExcludeEachOther) {
  OptionState o;
  o.SetChecked(Option::BoxRules, true);
  EXPECT_FALSE(o.Checked(Option::AsciiRules));
  EXPECT_TRUE(o.BoxStyle());
  o.SetChecked(Option::AsciiRules, true);
  EXPECT_FALSE(o.Checked(Option::BoxRules));
  EXPECT_FALSE(o.BoxStyle());
}

}  // namespace
}  // namespace tabulon
