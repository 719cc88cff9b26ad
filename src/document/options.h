// The option controls of the main window as a model: checked and enabled
// states, the width value and the title text, with the handlers that tie them
// together. The window mirrors this model; the reader and the writer use it.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace tabulon {

enum class OptionControl {
  CheckBox1,     // 列見出し: column headings
  CheckBox2,     // 行見出し: row headings
  CheckBox3,     // ﾀｲﾄﾙ: title line
  CheckBox4,     // 空白列切捨て: leave out blank columns after the last used one
  CheckBox5,     // 罫線: ruled lines
  CheckBox6,     // 桁数: fixed line width
  RadioButton1,  // "+ | -" rules
  RadioButton2,  // 罫線文字: box-drawing rules
  Edit2,         // shows the width value (enabled state only)
  UpDown1,       // the width arrows (enabled state only)
};
inline constexpr int kOptionControlCount = 10;

inline constexpr int kMinLineWidth = 12;
inline constexpr int kMaxLineWidth = 99;
// The title field takes at most this many CP932 bytes from the user.
inline constexpr int kMaxTitleBytes = 97;

class OptionState {
 public:
  OptionState();

  bool Checked(OptionControl c) const { return checked_[Index(c)]; }
  bool Enabled(OptionControl c) const { return enabled_[Index(c)]; }

  // Sets a check box or radio button as a click would: a real change runs the
  // control's handler; setting the present value runs nothing. Checking one
  // radio button unchecks the other. Edit2 and UpDown1 cannot be checked.
  void SetChecked(OptionControl c, bool checked);

  // The width value of UpDown1, kept within 12 to 99.
  int Position() const { return position_; }
  void SetPosition(int value);

  // The title text (Edit1), CP932. The byte limit applies to what the user
  // types, not to what the program sets, so it is not enforced here.
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  // The values the window is designed with, as set by ClearTable.
  void RestoreDefaults();

  bool BoxStyle() const { return !Checked(OptionControl::RadioButton1); }

  // Called after every change of state, so a window can mirror the model.
  void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }

  // Every value without the observer, to keep and to put back (undo).
  struct Values {
    std::array<bool, kOptionControlCount> checked;
    std::array<bool, kOptionControlCount> enabled;
    int position;
    std::string title;
    bool operator==(const Values&) const = default;
  };
  Values Save() const { return {checked_, enabled_, position_, title_}; }
  void Restore(Values values);

 private:
  static constexpr int Index(OptionControl c) { return static_cast<int>(c); }
  void SetEnabled(OptionControl c, bool enabled);
  void Changed() const;

  void CheckBox4Click();
  void CheckBox5Click();
  void CheckBox6Click();

  std::array<bool, kOptionControlCount> checked_{};
  std::array<bool, kOptionControlCount> enabled_{};
  int position_ = kMaxLineWidth;
  std::string title_;
  std::function<void()> observer_;
};

}  // namespace tabulon
