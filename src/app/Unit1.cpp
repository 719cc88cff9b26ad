#include "app/Unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QValidator>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/grid_view.h"
#include "desktop/desktop.h"
#include "document/codec.h"
#include "document/text_columns.h"
#include "editing/grid_menu.h"
#include "editing/japanese_era.h"
#include "files/text_file.h"
#include "preview/Unit2.h"
#include "widgets/grid_font.h"
#include "widgets/notice.h"
#include "widgets/widgets.h"

// The pictures live in a static library, so they are registered by hand.
static void InitResources() {
  Q_INIT_RESOURCE(tabulon);
}

namespace tabulon {

namespace {

// Refuses any edit that would make the text wider than `limit` columns as
// the title holds it, whether typed, pasted or committed by an input method.
// A wider text the program itself puts there (a title read from a table) is
// kept whole; edits may then narrow it, and never widen it while it is over
// the limit.
class ColumnLimitValidator : public QValidator {
 public:
  ColumnLimitValidator(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}
  State validate(QString& input, int&) const override {
    const int width = Width(input);
    if (width > std::max(limit_, allowed_)) return Invalid;
    allowed_ = width;  // the text accepted last
    return Acceptable;
  }
  // Called before the program sets the text.
  void ProgramSets(const QString& text) { allowed_ = Width(text); }

 private:
  // Columns of the text as the title holds it.
  static int Width(const QString& text) { return Columns(InsideFromQString(text)); }
  int limit_;
  mutable int allowed_ = 0;
};

// Up and Down on the focused up-down control step its value, as its arrows
// do; its window draws its focus frame.
class ArrowKeys : public QObject {
 public:
  ArrowKeys(std::function<void(int)> step, QObject* parent)
      : QObject(parent), step_(std::move(step)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
      static_cast<QWidget*>(watched)->window()->update();
    }
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
    step_(key == Qt::Key_Up ? +1 : -1);
    return true;
  }

 private:
  std::function<void(int)> step_;
};

}  // namespace

TForm1::TForm1(MainSeams seams, QWidget* parent)
    : QDialog(parent),
      seams_(std::move(seams)),
      session_({.ask =
                    [this](const char* question) {
                      return seams_.ask(QString::fromUtf8(question).replace("\r\n", "\n"));
                    },
                .pasteText =
                    [this] {
                      const ClipboardRead read = seams_.readClipboard();
                      if (read.replaced.count > 0) notice_->Show(UnreadableNote(read.replaced));
                      return read.text;
                    },
                .clipboardText = [this] { return seams_.clipboardText(); },
                .today = [this] { return seams_.today(); },
                .eraOf = JapaneseEraOf}) {
  InitResources();
  setObjectName("Form1");
  MakeFixedWindow(this, Qt::Window, "(^-^))Tabulon", 644, 349);
  setWindowIcon(QIcon(":/tabulon/tabulon.png"));

  if (!seams_.readClipboard) seams_.readClipboard = ReadSystemClipboard;
  if (!seams_.clipboardText) seams_.clipboardText = SystemClipboardText;
  if (!seams_.putOnClipboard) seams_.putOnClipboard = PutSystemClipboardText;
  if (!seams_.runPreview) seams_.runPreview = [](TForm2& preview) { return preview.exec(); };
  if (!seams_.preview) seams_.preview = [] { return TForm2::DesktopSeams(); };
  if (!seams_.ask) {
    seams_.ask = [this](const QString& question) {
      return QMessageBox::question(this, QApplication::applicationName(), question) ==
             QMessageBox::Yes;
    };
  }
  if (!seams_.warn) {
    seams_.warn = [this](const QString& text) {
      QMessageBox::warning(this, QApplication::applicationName(), text);
    };
  }
  if (!seams_.today) seams_.today = LocalToday;
  HandOverOwnCopies(this);

  CreateControls();
  // ends by showing every option, so the observer comes after
  RefreshAll();
  session_.document().options.SetObserver([this] { RefreshOptions(); });

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  Button1->setFocus();
}

void TForm1::Start() {
  readOnActivate_ = !FormCreate() && ClipboardNeedsFocus();
}

void TForm1::CreateControls() {
  notice_ = new Notice(this);
  Edit1 = Place(new QLineEdit(this), "Edit1", 53, 7, 588, 20);
  Edit1->setFont(GridFont());
  KanaWhileFocused(Edit1);  // kana input while the title has the focus
  titleLimit_ = new ColumnLimitValidator(kMaxTitleColumns, Edit1);
  Edit1->setValidator(titleLimit_);
  Hint(Edit1, {"表にタイトルを付ける場合、半角９７文字以内で入力する"});
  connect(Edit1, &QLineEdit::textEdited, this,
          [this](const QString& text) { Options().SetTitle(InsideFromQString(text)); });

  CheckBox3 = Place(new QCheckBox(U("ﾀｲﾄﾙ"), this), "CheckBox3", 6, 9, 45, 17);
  Hint(CheckBox3, {"表にタイトルを追加（[ﾚ]する・[ ]しない）"});
  StringGrid1 = Place(new StringGrid(session_, this), "StringGrid1", 3, 32, 639, 276);
  CheckBox1 = Place(new QCheckBox(U("列見出し"), this), "CheckBox1", 208, 311, 66, 17);
  Hint(CheckBox1, {"表に列見出しを追加（[ﾚ]する・[ ]しない）"});
  CheckBox2 = Place(new QCheckBox(U("行見出し"), this), "CheckBox2", 208, 329, 66, 17);
  Hint(CheckBox2, {"表に行見出しを追加（[ﾚ]する・[ ]しない）"});
  CheckBox5 = Place(new QCheckBox(U("罫線"), this), "CheckBox5", 281, 310, 45, 17);
  Hint(CheckBox5, {"表に罫線を([ﾚ]書き出す・[ ]書き出さない)"});
  CheckBox4 = Place(new QCheckBox(U("空白列切捨て"), this), "CheckBox4", 281, 329, 93, 17);
  Hint(CheckBox4, {"空白列以下を([ﾚ]切り捨てる・[ ]切り捨てない)", "桁数と排他選択"});
  Place(new QLabel(U("["), this), "Label1", 328, 312, 5, 14);
  RadioButton1 = Place(new QRadioButton(U("+ | -"), this), "RadioButton1", 333, 310, 49, 17);
  Hint(RadioButton1, {"罫線を[ + - ｜ ]で作成する"});
  RadioButton2 = Place(new QRadioButton(U("罫線文字"), this), "RadioButton2", 389, 310, 68, 17);
  Hint(RadioButton2, {"罫線を罫線文字で作成する"});
  Place(new QLabel(U("]"), this), "Label2", 464, 312, 5, 14);
  CheckBox6 = Place(new QCheckBox(U("桁数"), this), "CheckBox6", 384, 329, 45, 17);
  Hint(CheckBox6, {"桁数を([ﾚ]指定する・[ ]指定しない)", "空白列切捨てと排他選択"});

  Edit2 = Place(new QLineEdit(this), "Edit2", 430, 327, 21, 20);
  Edit2->setReadOnly(true);
  Edit2->setMaxLength(2);
  Edit2->setTextMargins(0, 0, 0, 0);
  Hint(Edit2, {"指定桁数"});
  UpDown1 = Place(new QWidget(this), "UpDown1", 451, 327, 16, 20);
  Hint(UpDown1, {"桁数を([ ▲ ]増やす・[ ▼ ]減らす)", "最大値:99 最小値:12"});
  upButton_ = Place(new QToolButton(UpDown1), "UpDown1Up", 0, 0, 16, 10);
  upButton_->setArrowType(Qt::UpArrow);
  downButton_ = Place(new QToolButton(UpDown1), "UpDown1Down", 0, 10, 16, 10);
  downButton_->setArrowType(Qt::DownArrow);
  // Held down, an arrow keeps stepping, as an up-down control does.
  for (QToolButton* arrow : {upButton_, downButton_}) arrow->setAutoRepeat(true);
  connect(upButton_, &QToolButton::clicked, this, [this] { StepWidth(+1); });
  connect(downButton_, &QToolButton::clicked, this, [this] { StepWidth(-1); });
  // The control is one tab stop, whichever arrow is greyed; the arrows take
  // no focus from a click.
  UpDown1->setFocusPolicy(Qt::TabFocus);
  upButton_->setFocusPolicy(Qt::NoFocus);
  downButton_->setFocusPolicy(Qt::NoFocus);
  // Up and Down step the width from the control and from its field alike.
  for (QWidget* w : {static_cast<QWidget*>(UpDown1), static_cast<QWidget*>(Edit2)}) {
    w->installEventFilter(new ArrowKeys([this](int delta) { StepWidth(delta); }, w));
  }

  Button2 = Place(new QPushButton(U("閉じる"), this), "Button2", 480, 316, 75, 25);
  Hint(Button2, {"Tabulonを終了する"});
  Button1 = Place(new QPushButton(U("作成する"), this), "Button1", 560, 316, 75, 25);
  Hint(Button1, {"テキスト形式で表を作成する"});
  // The default button; a focused "閉じる" takes Return itself.
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);

  Image1 = Place(new QLabel(this), "Image1", 9, 315, 192, 27);
  Image1->setPixmap(QPixmap(":/tabulon/logo.png"));
  Image1->setToolTip(U("Tabulon: セルから等幅テキストの表を作る"));

  // A click reports the new state (a radio button's is always checked), which
  // goes through the core's handlers.
  for (const auto& [button, control] : OptionButtons()) {
    connect(button, &QAbstractButton::clicked, this,
            [this, control = control](bool checked) { Options().SetChecked(control, checked); });
  }

  connect(StringGrid1, &StringGrid::menuRequested, this, &TForm1::OpenGridMenu);
  connect(StringGrid1, &StringGrid::keyCommand, this,
          [this](GridCommand command) { RunCommand(command); });

  SetTabOrder({Button1, Button2, Edit1, StringGrid1, CheckBox1, CheckBox2, CheckBox3, CheckBox4,
               CheckBox5, RadioButton1, RadioButton2, CheckBox6, Edit2, UpDown1});
  radios_ = new RadioGroup({RadioButton1, RadioButton2}, this);
}

bool TForm1::event(QEvent* event) {
  // Where the clipboard is offered only to a window with the focus, the
  // start-up read happens when the window first has it.
  if (event->type() == QEvent::WindowActivate && readOnActivate_) {
    readOnActivate_ = false;
    FormCreate();
  }
  return QDialog::event(event);
}

bool TForm1::FormCreate() {
  const ClipboardRead read = seams_.readClipboard();
  ShowOutcome(session_.Start(read.text, read.cells));
  if (read.replaced.count > 0) notice_->Show(UnreadableNote(read.replaced));
  if (read.status == ClipboardRead::Status::NoAnswer) {
    std::fprintf(stderr,
                 "tabulon: the program that holds the clipboard did not answer within %lld s; "
                 "starting with an empty grid\n",
                 static_cast<long long>(
                     std::chrono::duration_cast<std::chrono::seconds>(kAnswerTimeout).count()));
  } else if (read.status == ClipboardRead::Status::TooLarge) {
    std::fprintf(stderr,
                 "tabulon: the text on the clipboard is larger than %zu MiB; "
                 "starting with an empty grid\n",
                 kMaxLoadBytes / (1024 * 1024));
    // Once the window is up, as for a file over the limit.
    QTimer::singleShot(0, this, [this] { seams_.warn(QString::fromUtf8(kTooLargeError) + "."); });
  }
  return !read.text.empty();
}

void TForm1::RefreshAll() {
  RefreshOptions();
  StringGrid1->Refresh();
}

std::array<std::pair<QAbstractButton*, Option>, 8> TForm1::OptionButtons() const {
  return {{{CheckBox1, Option::ColumnHeadings},
           {CheckBox2, Option::RowHeadings},
           {CheckBox3, Option::Title},
           {CheckBox4, Option::Trim},
           {CheckBox5, Option::Ruled},
           {CheckBox6, Option::FixedWidth},
           {RadioButton1, Option::AsciiRules},
           {RadioButton2, Option::BoxRules}}};
}

void TForm1::RefreshOptions() {
  const OptionState& o = Options();
  for (const auto& [button, control] : OptionButtons()) {
    const QSignalBlocker block(button);
    button->setChecked(o.Checked(control));
    button->setEnabled(o.Enabled(control));
  }
  // Every option change calls this; lay out Edit2's text only when it changes.
  if (const QString width = QString::number(o.Position()); Edit2->text() != width) {
    Edit2->setText(width);
  }
  Edit2->setEnabled(o.Enabled(Option::WidthValue));
  UpDown1->setEnabled(o.Enabled(Option::WidthArrows));
  upButton_->setEnabled(o.Position() < kMaxLineWidth);
  downButton_->setEnabled(o.Position() > kMinLineWidth);
  ShowTitle(QStringFromInside(o.Title()));
  radios_->Update();  // the check may have moved with signals blocked
}

// The title field shows the title as stored when the program changes it (a
// table read, an undo); what the user types is stored as it stands.
void TForm1::ShowTitle(const QString& title) {
  if (Edit1->text() == title) return;
  const QSignalBlocker block(Edit1);
  static_cast<ColumnLimitValidator*>(titleLimit_)->ProgramSets(title);
  Edit1->setText(title);
}

void TForm1::StepWidth(int delta) {
  Options().SetPosition(Options().Position() + delta);
}

void TForm1::Button1Click() {
  WrittenTable table = session_.Write();
  StringGrid1->ShowChanges();  // the writer widens columns
  PreviewSeams seams = seams_.preview();
  seams.loadText = [this](const std::string& text) { ShowOutcome(session_.Load(text)); };
  TForm2 preview(std::move(seams), this);
  preview.SetLines(table.lines);
  preview.SetMarkdownLines(session_.WriteMarkdown());
  preview.SelectStyle(session_.CameIn());
  if (seams_.runPreview(preview) != QDialog::Accepted) return;
  // "Ｏ Ｋ": the wrapped table to the clipboard (while a window of the
  // program still shows, which a Wayland clipboard asks for), and the program
  // ends.
  seams_.putOnClipboard(session_.Finished(std::move(table), preview.Style()));
  hide();
  close();
  QCoreApplication::quit();  // a hidden window's close does not end the loop
}

void TForm1::Button2Click() {
  close();
}

const PopupMenus& TForm1::Menus() {
  // Some 150 menu items: made when first needed, not at start-up.
  if (menus_.PopupMenu1) return menus_;
  menus_ = CreatePopupMenus(this);
  for (QMenu* menu : {menus_.PopupMenu1, menus_.PopupMenu2, menus_.PopupMenu3}) {
    for (QAction* item : menu->findChildren<QAction*>()) {
      if (const std::optional<ItemCommand> command = CommandOf(item)) {
        connect(item, &QAction::triggered, this, [this, command = *command] {
          RunCommand(command.command, command.date, command.text);
        });
      }
    }
  }
  return menus_;
}

void TForm1::RunCommand(GridCommand command, DateItem date, const QString& text) {
  QLineEdit* editor = StringGrid1->OpenEditor();
  ShowOutcome(session_.Run(command, {date, InsideFromQString(text), editor != nullptr}), editor);
}

void TForm1::ShowOutcome(const Outcome& outcome, QLineEdit* editor) {
  using Action = Outcome::EditorAction;
  if (editor) {
    switch (outcome.editor) {
      case Action::Cut:
        return editor->cut();
      case Action::Copy:
        return editor->copy();
      case Action::Paste:
        return editor->paste();
      case Action::Delete:
        return editor->del();
      case Action::None:
      case Action::Open:
        break;
    }
  }
  if (outcome.clipboard) seams_.putOnClipboard(*outcome.clipboard);
  switch (outcome.repaint) {
    case Outcome::Repaint::All:
      return RefreshAll();
    case Outcome::Repaint::Cells:
    case Outcome::Repaint::Selection:
      return StringGrid1->ShowChanges();
    case Outcome::Repaint::None:
      return;
  }
}

// The menu the grid chose at the right press, with its items' states, opens
// at the right release.
void TForm1::OpenGridMenu(GridMenu menu, const QPoint& globalPos) {
  const PopupMenus& menus = Menus();
  QMenu* popup = menu == GridMenu::Cells     ? menus.PopupMenu1
                 : menu == GridMenu::Columns ? menus.PopupMenu2
                 : menu == GridMenu::Rows    ? menus.PopupMenu3
                                             : nullptr;
  if (!popup) return;
  for (QAction* item : popup->findChildren<QAction*>()) {
    if (const std::optional<ItemCommand> command = CommandOf(item)) {
      item->setEnabled(CommandEnabled(session_.editing(), command->command));
    }
  }
  popup->popup(globalPos);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  if (!SwallowEscape(event)) QDialog::keyPressEvent(event);
}

void TForm1::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  if (UpDown1->hasFocus()) DrawFocusFrame(this, UpDown1->geometry().adjusted(-1, -1, 1, 1));
}

}  // namespace tabulon
