// TForm1, the main window: the grid, the title field, the option controls and
// the two buttons. Handlers turn events into calls on the core and refresh
// the widgets from it.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <utility>

#include "app/popup_menus.h"
#include "document/document.h"
#include "editing/grid_session.h"
#include "table/clipboard_read.h"
#include "widgets/controls.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QValidator;

namespace tabulon {

class Notice;
class StringGrid;
class TForm2;
struct PreviewSeams;

// What the main window asks of the desktop: the clipboard, the preview's
// showing and dialogs, questions and warnings, today's date. Tests give
// their own; what is left empty is the desktop's.
struct MainSeams {
  std::function<ClipboardRead()> readClipboard;  // the start-up read and "貼り付け"
  std::function<std::string()> clipboardText;    // "貼り付け"'s check at a right press
  // Where clipboard text goes (inside text; true when a holder got it).
  std::function<bool(const std::string&)> putOnClipboard;
  std::function<int(TForm2&)> runPreview;  // the preview window's dialog result
  std::function<PreviewSeams()> preview;   // its dialogs (loadText is always the window's)
  std::function<bool(const QString&)> ask;  // Yes/No before an insert (UTF-8; true for Yes)
  std::function<void(const QString&)> warn;  // a warning to the user (UTF-8)
  std::function<CivilDate()> today;          // for the date items
};

class TForm1 : public QDialog {
  Q_OBJECT
 public:
  // An empty grid; Start reads the clipboard into it.
  explicit TForm1(MainSeams seams = {}, QWidget* parent = nullptr);

  // Start-up: the clipboard read into the grid, at once, or where the
  // clipboard is offered only to a window with the focus, when the window
  // first has it.
  void Start();

  Document& document() { return session_.document(); }
  StringGrid* grid() const { return StringGrid1; }

  // Creation: the grid set-up, then the reader over the clipboard text.
  // False when the clipboard gave no text; why, when it is not simply empty,
  // goes to stderr and, for a text too large, to the user.
  bool FormCreate();
  // "作成する": the writer, then the preview.
  void Button1Click();
  // "閉じる": ends the program.
  void Button2Click();

  // Mirrors the document into every widget.
  void RefreshAll();

  // The grid's three popup menus, each item wired to RunCommand.
  const PopupMenus& Menus();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void CreateControls();
  void RefreshOptions();
  void ShowTitle(const QString& title);
  // The check boxes and radio buttons with the option each one shows.
  std::array<std::pair<QAbstractButton*, Option>, 8> OptionButtons() const;
  void OpenGridMenu(GridMenu menu, const QPoint& globalPos);
  // Any grid command: a menu item's (with a date item's format and a
  // fixed-text item's text) or a key's.
  void RunCommand(GridCommand command, DateItem date = {}, const QString& text = {});
  // What the session asks of the window after a call; the cell menu's
  // editing commands go to `editor` while one is open.
  void ShowOutcome(const Outcome& outcome, QLineEdit* editor = nullptr);
  void StepWidth(int delta);
  OptionState& Options() { return session_.document().options; }

  MainSeams seams_;
  GridSession session_;
  bool readOnActivate_ = false;  // the start-up read waits for the focus

  QLineEdit* Edit1;
  QCheckBox* CheckBox1;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox3;
  QCheckBox* CheckBox4;
  QCheckBox* CheckBox5;
  QCheckBox* CheckBox6;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  QLineEdit* Edit2;
  QWidget* UpDown1;
  QToolButton* upButton_;
  QValidator* titleLimit_;
  QToolButton* downButton_;
  QPushButton* Button1;
  QPushButton* Button2;
  QLabel* Image1;
  StringGrid* StringGrid1;
  PopupMenus menus_{};
  RadioGroup* radios_;
  Notice* notice_;  // bytes coming in that are no character, read as U+FFFD
};

}  // namespace tabulon
