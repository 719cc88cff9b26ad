// Behaviour both windows give their controls beyond what the toolkit does by
// itself: radio groups that are one tab stop, and the toolkit's own texts in
// Japanese.
#pragma once

#include <QObject>
#include <QRadioButton>
#include <initializer_list>
#include <vector>

namespace tabulon {

// Radio buttons that behave as one group for the keyboard: Tab enters the
// group at its checked button (the first enabled one when none is), and the
// arrow keys move the focus and the check together, wrapping at the ends.
// Update() must follow a change of the check made with signals blocked.
class RadioGroup : public QObject {
 public:
  RadioGroup(std::initializer_list<QRadioButton*> buttons, QObject* parent);
  void Update();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<QRadioButton*> buttons_;
};

// Loads the toolkit's Japanese translations (file dialogs, line-edit context
// menus, message-box buttons) into the application; false when they are not
// installed, and everything the toolkit draws stays in English.
bool InstallToolkitTranslations();

}  // namespace tabulon
