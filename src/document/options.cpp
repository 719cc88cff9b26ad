#include "document/options.h"

#include <algorithm>
#include <utility>

namespace tabulon {

using C = OptionControl;

OptionState::OptionState() {
  enabled_.fill(true);
  checked_[Index(C::CheckBox1)] = true;
  checked_[Index(C::CheckBox2)] = true;
  checked_[Index(C::CheckBox3)] = true;
  checked_[Index(C::CheckBox5)] = true;
  checked_[Index(C::RadioButton1)] = true;
  enabled_[Index(C::Edit2)] = false;
  enabled_[Index(C::UpDown1)] = false;
}

void OptionState::Changed() const {
  if (observer_) observer_();
}

void OptionState::SetEnabled(C c, bool enabled) {
  if (enabled_[Index(c)] == enabled) return;
  enabled_[Index(c)] = enabled;
  Changed();
}

void OptionState::SetChecked(C c, bool checked) {
  if (c == C::Edit2 || c == C::UpDown1) return;
  if (checked_[Index(c)] == checked) return;
  checked_[Index(c)] = checked;
  if (checked && c == C::RadioButton1) checked_[Index(C::RadioButton2)] = false;
  if (checked && c == C::RadioButton2) checked_[Index(C::RadioButton1)] = false;
  Changed();
  switch (c) {
    case C::CheckBox4:
      CheckBox4Click();
      break;
    case C::CheckBox5:
      CheckBox5Click();
      break;
    case C::CheckBox6:
      CheckBox6Click();
      break;
    default:
      break;
  }
}

void OptionState::SetPosition(int value) {
  value = std::clamp(value, kMinLineWidth, kMaxLineWidth);
  if (value == position_) return;
  position_ = value;
  Changed();
}

void OptionState::SetTitle(std::string title) {
  if (title == title_) return;
  title_.swap(title);  // keeps no room for a longer title it once held
  Changed();
}

void OptionState::Restore(Values values) {
  checked_ = values.checked;
  enabled_ = values.enabled;
  position_ = values.position;
  title_.swap(values.title);
  Changed();
}

void OptionState::RestoreDefaults() {
  SetChecked(C::CheckBox1, true);
  SetChecked(C::CheckBox2, true);
  SetChecked(C::CheckBox3, true);
  SetChecked(C::CheckBox4, false);
  SetChecked(C::CheckBox5, true);
  SetChecked(C::CheckBox6, false);
  SetPosition(kMaxLineWidth);
  SetChecked(C::RadioButton1, true);
  SetTitle("");
}

// 罫線 governs the heading boxes, both cutting options and the line style.
void OptionState::CheckBox5Click() {
  if (Checked(C::CheckBox5)) {
    for (C c : {C::CheckBox1, C::CheckBox2, C::CheckBox4, C::CheckBox6, C::RadioButton1,
                C::RadioButton2}) {
      SetEnabled(c, true);
    }
    if (Checked(C::CheckBox6)) {
      SetEnabled(C::Edit2, true);
      SetEnabled(C::UpDown1, true);
    }
  } else {
    SetChecked(C::CheckBox1, false);
    SetChecked(C::CheckBox2, false);
    for (C c : {C::CheckBox1, C::CheckBox2, C::CheckBox4, C::CheckBox6, C::RadioButton1,
                C::RadioButton2, C::Edit2, C::UpDown1}) {
      SetEnabled(c, false);
    }
  }
}

// 空白列切捨て and 桁数 exclude each other.
void OptionState::CheckBox4Click() {
  if (Checked(C::CheckBox4)) {
    SetEnabled(C::CheckBox6, false);
    SetChecked(C::CheckBox6, false);
  } else {
    SetEnabled(C::CheckBox6, true);
    if (Checked(C::CheckBox6)) {
      SetEnabled(C::Edit2, true);
      SetEnabled(C::UpDown1, true);
    }
  }
}

// Whenever 桁数 is unchecked the width returns to 99.
void OptionState::CheckBox6Click() {
  if (Checked(C::CheckBox6)) {
    SetEnabled(C::Edit2, true);
    SetEnabled(C::UpDown1, true);
  } else {
    SetPosition(kMaxLineWidth);
    SetEnabled(C::Edit2, false);
    SetEnabled(C::UpDown1, false);
  }
}

}  // namespace tabulon
