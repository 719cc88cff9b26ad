#include "document/options.h"

#include <algorithm>
#include <utility>

namespace tabulon {

OptionState::OptionState() {
  enabled_.fill(true);
  checked_[Index(Option::ColumnHeadings)] = true;
  checked_[Index(Option::RowHeadings)] = true;
  checked_[Index(Option::Title)] = true;
  checked_[Index(Option::Ruled)] = true;
  checked_[Index(Option::AsciiRules)] = true;
  enabled_[Index(Option::WidthValue)] = false;
  enabled_[Index(Option::WidthArrows)] = false;
}

void OptionState::Changed() const {
  if (observer_) observer_();
}

void OptionState::SetEnabled(Option c, bool enabled) {
  if (enabled_[Index(c)] == enabled) return;
  enabled_[Index(c)] = enabled;
  Changed();
}

void OptionState::SetChecked(Option c, bool checked) {
  if (c == Option::WidthValue || c == Option::WidthArrows) return;
  if (checked_[Index(c)] == checked) return;
  checked_[Index(c)] = checked;
  if (checked && c == Option::AsciiRules) checked_[Index(Option::BoxRules)] = false;
  if (checked && c == Option::BoxRules) checked_[Index(Option::AsciiRules)] = false;
  Changed();
  switch (c) {
    case Option::Trim:
      TrimClicked();
      break;
    case Option::Ruled:
      RuledClicked();
      break;
    case Option::FixedWidth:
      FixedWidthClicked();
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
  SetChecked(Option::ColumnHeadings, true);
  SetChecked(Option::RowHeadings, true);
  SetChecked(Option::Title, true);
  SetChecked(Option::Trim, false);
  SetChecked(Option::Ruled, true);
  SetChecked(Option::FixedWidth, false);
  SetPosition(kMaxLineWidth);
  SetChecked(Option::AsciiRules, true);
  SetTitle("");
}

// 罫線 governs the heading boxes, both cutting options and the line style.
void OptionState::RuledClicked() {
  if (Checked(Option::Ruled)) {
    for (Option c : {Option::ColumnHeadings, Option::RowHeadings, Option::Trim, Option::FixedWidth,
                     Option::AsciiRules, Option::BoxRules}) {
      SetEnabled(c, true);
    }
    if (Checked(Option::FixedWidth)) {
      SetEnabled(Option::WidthValue, true);
      SetEnabled(Option::WidthArrows, true);
    }
  } else {
    SetChecked(Option::ColumnHeadings, false);
    SetChecked(Option::RowHeadings, false);
    for (Option c :
         {Option::ColumnHeadings, Option::RowHeadings, Option::Trim, Option::FixedWidth,
          Option::AsciiRules, Option::BoxRules, Option::WidthValue, Option::WidthArrows}) {
      SetEnabled(c, false);
    }
  }
}

// 空白列切捨て and 桁数 exclude each other.
void OptionState::TrimClicked() {
  if (Checked(Option::Trim)) {
    SetEnabled(Option::FixedWidth, false);
    SetChecked(Option::FixedWidth, false);
  } else {
    SetEnabled(Option::FixedWidth, true);
    if (Checked(Option::FixedWidth)) {
      SetEnabled(Option::WidthValue, true);
      SetEnabled(Option::WidthArrows, true);
    }
  }
}

// Whenever 桁数 is unchecked the width returns to 99.
void OptionState::FixedWidthClicked() {
  if (Checked(Option::FixedWidth)) {
    SetEnabled(Option::WidthValue, true);
    SetEnabled(Option::WidthArrows, true);
  } else {
    SetPosition(kMaxLineWidth);
    SetEnabled(Option::WidthValue, false);
    SetEnabled(Option::WidthArrows, false);
  }
}

}  // namespace tabulon
