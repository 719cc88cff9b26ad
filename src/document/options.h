// The table's options as a model of the main window's option controls:
// checked and enabled states, the width value and the title text, with the
// handlers that tie them together. The window mirrors this model (its
// controls are mapped to these options in one table there); the reader and
// the writer use it.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace tabulon {

enum class Option {
  ColumnHeadings,  // 列見出し: the heading row
  RowHeadings,     // 行見出し: the row-heading column
  Title,           // ﾀｲﾄﾙ: the title line
  Trim,            // 空白列切捨て: leave out blank columns after the last used one
  Ruled,           // 罫線: ruled lines
  FixedWidth,      // 桁数: a fixed line width
  AsciiRules,      // "+ | -": rules of ASCII characters
  BoxRules,        // 罫線文字: box-drawing rules
  WidthValue,      // the field showing the width (enabled state only)
  WidthArrows,     // the width's arrows (enabled state only)
};
inline constexpr int kOptionCount = 10;

inline constexpr int kMinLineWidth = 12;
inline constexpr int kMaxLineWidth = 99;
// The title field takes text at most this many columns wide from the user.
inline constexpr int kMaxTitleColumns = 97;

class OptionState {
 public:
  OptionState();

  bool Checked(Option c) const { return checked_[Index(c)]; }
  bool Enabled(Option c) const { return enabled_[Index(c)]; }

  // Sets an option as a click on its control would: a real change runs the
  // control's handler; setting the present value runs nothing. Checking one
  // rule style unchecks the other. WidthValue and WidthArrows cannot be
  // checked.
  void SetChecked(Option c, bool checked);

  // The fixed line width, kept within 12 to 99.
  int Position() const { return position_; }
  void SetPosition(int value);

  // The title text, inside text. The column limit applies to what the user
  // types, not to what the program sets, so it is not enforced here.
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  // The values the window is designed with, as set by ClearTable.
  void RestoreDefaults();

  bool BoxStyle() const { return !Checked(Option::AsciiRules); }

  // Called after every change of state, so a window can mirror the model.
  void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }

  // Every value without the observer, to keep and to put back (undo).
  struct Values {
    std::array<bool, kOptionCount> checked;
    std::array<bool, kOptionCount> enabled;
    int position;
    std::string title;
    bool operator==(const Values&) const = default;
  };
  Values Save() const { return {checked_, enabled_, position_, title_}; }
  void Restore(Values values);

 private:
  static constexpr int Index(Option c) { return static_cast<int>(c); }
  void SetEnabled(Option c, bool enabled);
  void Changed() const;

  void TrimClicked();
  void RuledClicked();
  void FixedWidthClicked();

  std::array<bool, kOptionCount> checked_{};
  std::array<bool, kOptionCount> enabled_{};
  int position_ = kMaxLineWidth;
  std::string title_;
  std::function<void()> observer_;
};

}  // namespace tabulon
