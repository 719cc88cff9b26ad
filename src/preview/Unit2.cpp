#include "preview/Unit2.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>
#include <utility>

#include "document/text_columns.h"
#include "files/text_file.h"
#include "widgets/controls.h"
#include "widgets/grid_font.h"
#include "widgets/notice.h"
#include "widgets/widgets.h"

namespace tabulon {

namespace {

constexpr int kRulerLeft = 10;

}  // namespace

// The memo, which shows at most the first kShownBytes of a text (a table is
// some 26 kB; laying out megabytes would take seconds and gigabytes) and
// copies a selection that reaches the end of what it shows with the rest of
// the text, so the user's copy is never cut.
class MemoView : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

  // Shows the first `length` bytes of `inside`, which must outlive the memo's
  // use of it (the window's own copy).
  void SetText(const std::string& inside, std::size_t length) {
    std::size_t shown = length;
    if (shown > kShownBytes) {
      shown = CharStartAt(inside, kShownBytes);  // whole characters
      if (inside[shown - 1] == '\r' && inside[shown] == '\n') ++shown;
    }
    rest_ = std::string_view(inside).substr(shown, length - shown);
    setPlainText(Shown(std::string_view(inside).substr(0, shown)) + (rest_.empty() ? "" : "…"));
    FitToGrid();
  }

 protected:
  QMimeData* createMimeDataFromSelection() const override {
    QMimeData* data = QPlainTextEdit::createMimeDataFromSelection();
    if (rest_.empty() || textCursor().selectionEnd() < document()->characterCount() - 1) {
      return data;
    }
    QString text = data->text();
    text.chop(1);  // the "…"
    data->setText(text + Shown(rest_));
    return data;
  }

 private:
  static constexpr std::size_t kShownBytes = 256 * 1024;

  // Inside text as the memo shows it: line breaks as the toolkit's.
  static QString Shown(std::string_view inside) {
    QString text = QStringFromInside(inside);
    text.replace(U("\r\n"), U("\n"));
    return text;
  }

  // Draws every cluster in its columns × 6 px, as a terminal does, so the
  // rules of a table stand under the ruler's columns on every line whatever
  // the font lacks: letter spacing, on the lines' layouts and not in the
  // text, takes up the difference of each cluster drawn at another width
  // (an emoji or Hangul from another font, a flag drawn as two letters, a
  // mark alone). The characters, and so a copy, stay as they are.
  void FitToGrid() {
    int first = -1, end = -1;  // the characters laid out anew
    for (QTextBlock line = document()->begin(); line.isValid(); line = line.next()) {
      QList<QTextLayout::FormatRange> ranges;
      // A spacing is a whole number of 64ths of a pixel, added once to each
      // glyph cluster, so a cluster of several may keep a few 64ths too
      // many or too few: the next one on the line makes up for them.
      qreal owed = 0;
      for (const OffGridCluster& c : OffGridClusters(document()->defaultFont(), line.text())) {
        if (c.spacings == 0) continue;
        const qreal wanted = c.columns * kPixelsPerColumn - c.advance + owed;
        const qreal spacing = std::round(wanted / c.spacings * 64) / 64;
        owed = wanted - spacing * c.spacings;
        QTextLayout::FormatRange range{c.begin, c.length, {}};
        range.format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        range.format.setFontLetterSpacing(spacing);
        ranges.push_back(range);
      }
      if (ranges.empty()) continue;
      line.layout()->setFormats(ranges);
      if (first < 0) first = line.position();
      end = line.position() + line.length();
    }
    if (first >= 0) document()->markContentsDirty(first, end - first);
  }

  std::string_view rest_;  // what the memo does not show
};

TForm2::TForm2(PreviewSeams seams, QWidget* parent) : QDialog(parent), seams_(std::move(seams)) {
  setObjectName("Form2");
  MakeFixedWindow(this, Qt::Dialog, "プレビュー", 709, 448);
  setModal(true);
  notice_ = new Notice(this);

  // The ruler stands over display columns 1 to 99 of the text below it.
  Label1 = Place(new QLabel(this), "Label1", kRulerLeft, 4, 6 * 99, 12);
  Label1->setFont(GridFont());
  Label1->setText(
      U("----+----1----+----2----+----3----+----4----+----5----+----6----+----7"
        "----+----8----+----9----+----"));
  Label1->setStyleSheet("color: blue;");
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  Memo1 = Place(new MemoView(this), "Memo1", 7, 16, 606, 426);
  Memo1->setFont(GridFont());
  Memo1->setReadOnly(true);
  Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setWordWrapMode(QTextOption::WrapAnywhere);
  Memo1->setTabStopDistance(6);  // a TAB moves on to the next character place
  // Text starts right under the ruler's first character.
  Memo1->document()->setDocumentMargin(std::max(0, kRulerLeft - 7 - Memo1->frameWidth()));
  Memo1->installEventFilter(this);
  Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  PopupMenu1->setFont(font());  // a popup takes the application's font otherwise
  QAction* N1 = PopupMenu1->addAction(U("全て選択"));
  N1->setObjectName("N1");
  QAction* N2 = PopupMenu1->addAction(U("コピー"));
  N2->setObjectName("N2");
  connect(N1, &QAction::triggered, Memo1, &QPlainTextEdit::selectAll);
  connect(N2, &QAction::triggered, Memo1, &QPlainTextEdit::copy);
  connect(Memo1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupMenu1->popup(Memo1->mapToGlobal(pos)); });

  Button1 = Place(new QPushButton(U("Ｏ Ｋ"), this), "Button1", 624, 7, 75, 25);
  Hint(Button1, {"指定した形式でクリップボードに書き出す"});
  Button1->setDefault(true);
  Button2 = Place(new QPushButton(U("戻る"), this), "Button2", 624, 39, 75, 25);
  Hint(Button2, {"Tabulonに戻る"});
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

  auto* Label2 = Place(new QLabel(U("形式"), this), "Label2", 622, 75, 30, 12);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  RadioButton1 = Place(new QRadioButton(U("Delphi"), this), "RadioButton1", 621, 89, 57, 17);
  Hint(RadioButton1, {"先頭行の先頭１文字を[ { ]、", "最終行の行末１文字を[ } ]に置き換える"});
  RadioButton2 = Place(new QRadioButton(this), "RadioButton2", 621, 108, 16, 39);
  StaticText1 = Place(new QLabel(this), "StaticText1", 639, 110, 63, 35);
  StaticText1->setText(U("C++Builder,\nC#Builder,\nC,Java,SQL"));
  // Three lines in the designed 63 x 35: one pixel smaller than the window's
  // font, whose Japanese glyphs set a taller line than the text needs.
  QFont small = font();
  small.setPixelSize(11);
  StaticText1->setFont(small);
  StaticText1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  StaticText1->setFocusPolicy(Qt::NoFocus);
  StaticText1->installEventFilter(this);
  for (QWidget* w : {static_cast<QWidget*>(RadioButton2), static_cast<QWidget*>(StaticText1)}) {
    Hint(w, {"先頭行の先頭２文字を[ /* ]、", "最終行の行末２文字を[ */ ]に置き換える"});
  }
  RadioButton2->installEventFilter(this);
  RadioButton3 = Place(new QRadioButton(U("Basic"), this), "RadioButton3", 621, 148, 49, 17);
  Hint(RadioButton3, {"各行の先頭に[ ' ]を追加する"});
  RadioButton4 = Place(new QRadioButton(U("ﾌﾟﾚｰﾝ"), this), "RadioButton4", 621, 176, 55, 17);
  Hint(RadioButton4, {"プレビューの表示通り", "メールで使用する場合、半角カナを使用せず",
                      "全角４０文字以内が望ましい"});
  RadioButton4->setChecked(true);
  RadioButton5 = Place(new QRadioButton(U("//"), this), "RadioButton5", 621, 204, 33, 17);
  Hint(RadioButton5, {"各行の先頭に[ // ]を追加する"});
  RadioButton6 = Place(new QRadioButton(U("#"), this), "RadioButton6", 621, 232, 29, 17);
  Hint(RadioButton6, {"各行の先頭に[ # ]を追加する"});
  RadioButton7 = Place(new QRadioButton(U("Markdown"), this), "RadioButton7", 621, 260, 75, 17);
  Hint(RadioButton7, {"Markdown の表として書き出す"});
  connect(RadioButton7, &QRadioButton::toggled, this,
          [this](bool markdown) { ShowText(markdown ? markdownText_ : tableText_); });

  Button4 = Place(new QPushButton(U("ﾌｧｲﾙに保存"), this), "Button4", 624, 384, 75, 25);
  Hint(Button4, {"名前を付けてﾌｧｲﾙに保存"});
  Button3 = Place(new QPushButton(U("読込む"), this), "Button3", 624, 416, 75, 25);
  Hint(Button3, {"ﾌｧｲﾙから読込む"});
  connect(Button4, &QPushButton::clicked, this, &TForm2::Button4Click);
  connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);

  SetTabOrder({Memo1, Button2, Button1, RadioButton1, RadioButton2, RadioButton3, RadioButton4,
               RadioButton5, RadioButton6, RadioButton7, Button3, Button4});
  new RadioGroup({RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5,
                  RadioButton6, RadioButton7},
                 this);

  if (parent) {
    // Centred frame on frame: this window's frame is not known before it is
    // shown, and is taken to be as thick as the main window's.
    const QRect outer = parent->frameGeometry(), inner = parent->geometry();
    const QSize frame = size() + (outer.size() - inner.size());
    move(outer.x() + (outer.width() - frame.width()) / 2,
         outer.y() + (outer.height() - frame.height()) / 2);
  }
}

PreviewSeams TForm2::DesktopSeams() {
  // Both dialogs list the .TXT files under the filter's name alone, "TXT";
  // saving also offers them in UTF-8 with LF line ends, as Linux editors
  // write text.
  static const QString kTextFilter = QStringLiteral("TXT (*.TXT *.txt)");
  static const QString kUtf8Filter = QStringLiteral("TXT UTF-8 (*.TXT *.txt)");
  static constexpr QFileDialog::Options kFilterOptions = QFileDialog::HideNameFilterDetails;
  PreviewSeams seams;
  seams.saveFileName = [](QWidget* parent, bool* utf8) {
    QString chosenFilter;
    const QString name = QFileDialog::getSaveFileName(
        parent, QString(), QString(), kTextFilter + QStringLiteral(";;") + kUtf8Filter,
        &chosenFilter, QFileDialog::DontConfirmOverwrite | kFilterOptions);
    *utf8 = chosenFilter == kUtf8Filter;
    return name;
  };
  seams.openFileName = [](QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), kTextFilter, nullptr,
                                        kFilterOptions);
  };
  seams.showError = [](QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QApplication::applicationName(), message);
  };
  return seams;
}

void TForm2::SetLines(const std::vector<std::string>& lines) {
  tableText_ = JoinLinesCrLf(lines);
  if (!RadioButton7->isChecked()) ShowText(tableText_);
}

void TForm2::SetMarkdownLines(const std::vector<std::string>& lines) {
  markdownText_ = JoinLinesCrLf(lines);
  if (RadioButton7->isChecked()) ShowText(markdownText_);
}

void TForm2::ShowText(std::string inside) {
  memoText_ = std::move(inside);
  // The last line's break starts no line.
  const bool lastBreak = memoText_.ends_with("\r\n");
  Memo1->SetText(memoText_, memoText_.size() - (lastBreak ? 2 : 0));
}

WrapStyle TForm2::Style() const {
  if (RadioButton1->isChecked()) return WrapStyle::Delphi;
  if (RadioButton2->isChecked()) return WrapStyle::CFamily;
  if (RadioButton3->isChecked()) return WrapStyle::Basic;
  if (RadioButton5->isChecked()) return WrapStyle::Slashes;
  if (RadioButton6->isChecked()) return WrapStyle::Hash;
  if (RadioButton7->isChecked()) return WrapStyle::Markdown;
  return WrapStyle::Plain;
}

void TForm2::SelectStyle(WrapStyle style) {
  const std::pair<WrapStyle, QRadioButton*> buttons[] = {
      {WrapStyle::Delphi, RadioButton1},  {WrapStyle::CFamily, RadioButton2},
      {WrapStyle::Basic, RadioButton3},   {WrapStyle::Plain, RadioButton4},
      {WrapStyle::Slashes, RadioButton5}, {WrapStyle::Hash, RadioButton6},
      {WrapStyle::Markdown, RadioButton7}};
  for (const auto& [s, button] : buttons) {
    if (s == style) button->setChecked(true);
  }
}

void TForm2::Button4Click() {
  bool utf8 = false;
  const QString chosen = seams_.saveFileName(this, &utf8);
  if (chosen.isEmpty()) return;
  const std::string path = SavePath(chosen.toStdString());
  Replacements replaced;  // characters a CP932 file cannot hold
  const FileResult result =
      SaveTextFile(path, utf8 ? Utf8FileText(memoText_) : Cp932FromInside(memoText_, replaced));
  if (!result.ok) {
    seams_.showError(this, QString::fromStdString(result.error) + ".");
  } else if (replaced.count > 0) {
    notice_->Show(ReplacedNote(replaced));
  }
}

void TForm2::Button3Click() {
  const QString chosen = seams_.openFileName(this);
  if (chosen.isEmpty()) return;
  FileResult result = LoadTextFile(chosen.toStdString());
  if (!result.ok) {
    seams_.showError(this, QString::fromStdString(result.error) + ".");
    return;
  }
  // A file in UTF-8 (a Linux editor's, the filter's) reads as it looks.
  Replacements replaced;
  std::string text = InsideFromFileText(result.text, replaced);
  std::string().swap(result.text);  // one copy of a large file at a time
  if (replaced.count > 0) notice_->Show(UnreadableNote(replaced));
  ShowText(NormalizeLineBreaks(text));
  tableText_ = markdownText_ = memoText_;  // whichever format is chosen, the file shows
  Memo1->selectAll();  // the loaded text is what goes to the clipboard
  if (seams_.loadText) seams_.loadText(memoText_);
}

void TForm2::StaticText1Click() {
  RadioButton2->setChecked(true);
  RadioButton2->setFocus(Qt::MouseFocusReason);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StaticText1 &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
    // A click: the left button let go over the text.
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
        StaticText1->rect().contains(mouse->position().toPoint())) {
      StaticText1Click();
    }
    return true;
  }
  if (watched == RadioButton2 &&
      (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    // RadioButton2 has no caption to show its focus: frame StaticText1.
    focusFrame_ = event->type() == QEvent::FocusIn;
    update();
  }
  if (watched == Memo1 && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool control = key->modifiers() & Qt::ControlModifier;
    if (key->key() == Qt::Key_A && control) {
      // Exactly Ctrl+A selects all; with Shift or Alt as well, nothing.
      if (key->modifiers() == Qt::ControlModifier) Memo1->selectAll();
      return true;
    }
    // Tab and Return belong to the memo, which is read-only, so they do
    // nothing; Ctrl+Tab leaves it, as it leaves any text that takes tabs.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      if (control)
        focusNextPrevChild(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
      return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
  if (!SwallowEscape(event)) QDialog::keyPressEvent(event);
}

void TForm2::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  if (!focusFrame_) return;
  const QRect r = StaticText1->geometry();
  DrawFocusFrame(this,
                 QRect(QPoint(r.left() - 2, r.top() - 2), QPoint(r.right() + 2, r.bottom() + 3)));
}

}  // namespace tabulon
