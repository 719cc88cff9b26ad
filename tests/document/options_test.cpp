#include "document/options.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tabulon {
namespace {

using C = OptionControl;

constexpr std::pair<C, const char*> kNames[] = {{C::CheckBox1, "CB1"},    {C::CheckBox2, "CB2"},
                                                {C::CheckBox3, "CB3"},    {C::CheckBox4, "CB4"},
                                                {C::CheckBox5, "CB5"},    {C::CheckBox6, "CB6"},
                                                {C::RadioButton1, "RB1"}, {C::RadioButton2, "RB2"},
                                                {C::Edit2, "Edit2"},      {C::UpDown1, "UpDown1"}};

// The controls for which `state` holds, by name, so a failure shows the whole picture.
std::string Set(const OptionState& o, bool (OptionState::*state)(C) const) {
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

constexpr const char* kAllButWidth = "CB1 CB2 CB3 CB4 CB5 CB6 RB1 RB2";

TEST(OptionDefaults, AsTheWindowIsDesigned) {
  const OptionState o;
  EXPECT_EQ(Checked(o), "CB1 CB2 CB3 CB5 RB1");
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
  o.SetChecked(C::CheckBox6, false);  // its handler would reset the width to 99
  o.SetChecked(C::CheckBox5, true);
  o.SetChecked(C::CheckBox1, true);
  o.SetChecked(C::RadioButton1, true);
  o.SetChecked(C::Edit2, true);  // not a check control
  o.SetPosition(40);
  o.SetTitle("");
  EXPECT_EQ(notified, 0);
  EXPECT_EQ(o.Position(), 40);
  EXPECT_EQ(Checked(o), "CB1 CB2 CB3 CB5 RB1");
  o.SetChecked(C::CheckBox3, false);
  EXPECT_GE(notified, 1);
}

TEST(OptionRuledLines, OffUnchecksAndDisablesHeadingsOnDoesNotRecheck) {
  OptionState o;
  o.SetChecked(C::CheckBox5, false);
  EXPECT_EQ(Checked(o), "CB3 RB1");
  EXPECT_EQ(Enabled(o), "CB3 CB5");
  o.SetChecked(C::CheckBox5, true);
  EXPECT_EQ(Checked(o), "CB3 CB5 RB1");
  EXPECT_EQ(Enabled(o), kAllButWidth);
}

TEST(OptionRuledLines, OnAgainReenablesWidthWhenFixedWidthStayedChecked) {
  OptionState o;
  o.SetChecked(C::CheckBox6, true);
  o.SetPosition(40);
  o.SetChecked(C::CheckBox5, false);
  EXPECT_EQ(Enabled(o), "CB3 CB5");
  o.SetChecked(C::CheckBox5, true);
  EXPECT_EQ(Checked(o), "CB3 CB5 CB6 RB1");
  EXPECT_EQ(Enabled(o), "CB1 CB2 CB3 CB4 CB5 CB6 RB1 RB2 Edit2 UpDown1");
  EXPECT_EQ(o.Position(), 40);
}

TEST(OptionBlankColumnCut, ExcludesFixedWidthAndResetsWidth) {
  OptionState o;
  o.SetChecked(C::CheckBox6, true);
  o.SetPosition(40);
  o.SetChecked(C::CheckBox4, true);
  EXPECT_FALSE(o.Checked(C::CheckBox6));
  EXPECT_EQ(Enabled(o), "CB1 CB2 CB3 CB4 CB5 RB1 RB2");
  EXPECT_EQ(o.Position(), 99);
  o.SetChecked(C::CheckBox4, false);
  EXPECT_FALSE(o.Checked(C::CheckBox6));
  EXPECT_EQ(Enabled(o), kAllButWidth);
}

TEST(OptionBlankColumnCut, RuledLinesOffAndOnLeaveFixedWidthEnabled) {
  OptionState o;
  o.SetChecked(C::CheckBox4, true);
  o.SetChecked(C::CheckBox5, false);
  o.SetChecked(C::CheckBox5, true);
  EXPECT_TRUE(o.Enabled(C::CheckBox6));
  o.SetChecked(C::CheckBox6, true);
  EXPECT_EQ(Checked(o), "CB3 CB4 CB5 CB6 RB1");
  EXPECT_TRUE(o.Enabled(C::Edit2));
  EXPECT_TRUE(o.Enabled(C::UpDown1));
}

TEST(OptionFixedWidth, EnablesWidthControlsAndClampsTo12Through99) {
  OptionState o;
  o.SetChecked(C::CheckBox6, true);
  EXPECT_EQ(Enabled(o), "CB1 CB2 CB3 CB4 CB5 CB6 RB1 RB2 Edit2 UpDown1");
  for (auto [in, out] : {std::pair{40, 40}, {12, 12}, {11, 12}, {-5, 12}, {100, 99}, {99, 99}}) {
    o.SetPosition(in);
    EXPECT_EQ(o.Position(), out) << in;
  }
  o.SetPosition(40);
  o.SetChecked(C::CheckBox6, false);
  EXPECT_EQ(o.Position(), 99);
  EXPECT_EQ(Enabled(o), kAllButWidth);
}

TEST(OptionLineStyle, RadioButtonsExcludeEachOther) {
  OptionState o;
  o.SetChecked(C::RadioButton2, true);
  EXPECT_FALSE(o.Checked(C::RadioButton1));
  EXPECT_TRUE(o.BoxStyle());
  o.SetChecked(C::RadioButton1, true);
  EXPECT_FALSE(o.Checked(C::RadioButton2));
  EXPECT_FALSE(o.BoxStyle());
}

}  // namespace
}  // namespace tabulon
