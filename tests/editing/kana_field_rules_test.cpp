// The title's kana input without an input method: which engine is asked for
// which mode as the field's focus comes and goes and the engines report.
#include "editing/kana_field_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tabulon {

void PrintTo(const KanaFieldRules::Request& request, std::ostream* os) {
  *os << request.engine << " -> " << request.mode;
}

namespace {

using Request = KanaFieldRules::Request;
constexpr const char* kKana = KanaFieldRules::kKana;
constexpr const char* kDirect = "InputMode.Direct";
constexpr const char* kKatakana = "InputMode.Katakana";

enum Event { kFocusIn, kFocusInWithWindow, kFocusOut, kRegistered, kUpdated };

// What happens (a report names its engine and mode), and what the input
// method is asked then.
struct Step {
  Event event;
  std::string engine;
  std::string mode;
  std::optional<Request> asked;
};

struct Case {
  const char* name;
  std::vector<Step> steps;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"kana before: nothing asked either way",
       {{kRegistered, "A", kKana, {}}, {kFocusIn, "", "", {}}, {kFocusOut, "", "", {}}}},
      {"kana before, turned off in the field: kana again after",
       {{kRegistered, "A", kKana, {}},
        {kFocusIn, "", "", {}},
        {kUpdated, "A", kDirect, {}},
        {kFocusOut, "", "", Request{"A", kKana}}}},
      {"the focused engine has no kana mode: nothing asked",
       {{kRegistered, "A", kDirect, {}},
        {kRegistered, "B", "", {}},
        {kFocusIn, "", "", {}},
        {kFocusOut, "", "", {}}}},
      {"the engine that took the focus last is asked",
       {{kRegistered, "A", kDirect, {}},
        {kRegistered, "B", kKatakana, {}},
        {kFocusIn, "", "", Request{"B", kKana}},
        {kFocusOut, "", "", Request{"B", kKatakana}}}},
      {"focus with the window: the engine that takes the focus then is asked",
       {{kRegistered, "A", kDirect, {}},
        {kFocusInWithWindow, "", "", {}},
        {kRegistered, "B", kKatakana, Request{"B", kKana}},
        {kUpdated, "B", kKana, {}},
        {kFocusOut, "", "", Request{"B", kKatakana}}}},
      {"the engine switched gets its mode back though another reported since",
       {{kRegistered, "A", kDirect, {}},
        {kFocusIn, "", "", Request{"A", kKana}},
        {kRegistered, "B", kDirect, {}},
        {kFocusOut, "", "", Request{"A", kDirect}}}},
      {"direct input before: kana in the field, direct input after, each visit",
       {{kRegistered, "A", kDirect, {}},
        {kFocusIn, "", "", Request{"A", kKana}},
        {kUpdated, "A", kKana, {}},
        {kFocusOut, "", "", Request{"A", kDirect}},
        {kUpdated, "A", kDirect, {}},
        {kFocusIn, "", "", Request{"A", kKana}},
        {kFocusOut, "", "", Request{"A", kDirect}}}},
  };
  return cases;
}

TEST(KanaFieldRules, AsksAsTheFocusMovesAndEnginesReport) {
  for (const Case& test : Cases()) {
    KanaFieldRules rules;
    for (size_t i = 0; i < test.steps.size(); ++i) {
      const Step& step = test.steps[i];
      SCOPED_TRACE(testing::Message() << test.name << ", step " << i + 1);
      std::optional<Request> asked;
      switch (step.event) {
        case kFocusIn:
          asked = rules.FocusIn(false);
          break;
        case kFocusInWithWindow:
          asked = rules.FocusIn(true);
          break;
        case kFocusOut:
          asked = rules.FocusOut();
          break;
        case kRegistered:
          asked = rules.Reported(step.engine, step.mode, true);
          break;
        case kUpdated:
          asked = rules.Reported(step.engine, step.mode, false);
          break;
      }
      EXPECT_EQ(asked, step.asked);
    }
  }
}

}  // namespace
}  // namespace tabulon
