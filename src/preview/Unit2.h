// TForm2, the preview window: the table text as it will be copied, the
// choice of comment wrapping, and saving and loading .TXT files.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "table/comment_wrap.h"

class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace tabulon {

class MemoView;

// What the window asks of the user and the platform, so a test can answer:
// file names (empty when cancelled), error messages, and the main window's
// part of loading a file (the file's inside text, line breaks made CR LF).
struct PreviewSeams {
  // The name to save under, and whether the user chose UTF-8 with LF line
  // ends rather than the .TXT format (CP932, CR LF).
  std::function<QString(QWidget* parent, bool* utf8)> saveFileName;
  std::function<QString(QWidget* parent)> openFileName;
  std::function<void(QWidget* parent, const QString& message)> showError;
  std::function<void(const std::string& text)> loadText;
};

class Notice;

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(PreviewSeams seams, QWidget* parent = nullptr);

  // Shows the lines of the table; a save writes them with CR LF.
  void SetLines(const std::vector<std::string>& lines);
  // The same table as Markdown, shown while "Markdown" is checked.
  void SetMarkdownLines(const std::vector<std::string>& lines);
  // The chosen wrapping, and the one the window opens on.
  WrapStyle Style() const;
  void SelectStyle(WrapStyle style);
  // The memo's inside text, lines ended by CR LF, as a save writes it.
  const std::string& MemoText() const { return memoText_; }

  void Button4Click();  // save
  void Button3Click();  // load
  void StaticText1Click();

  // The dialogs and message box of a desktop session; the owner adds loadText.
  static PreviewSeams DesktopSeams();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void ShowText(std::string inside);

  PreviewSeams seams_;
  std::string memoText_;
  std::string tableText_, markdownText_;  // the two texts the memo shows by the format
  bool focusFrame_ = false;

  QLabel* Label1;
  MemoView* Memo1;
  QPushButton* Button1;
  QPushButton* Button2;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  QLabel* StaticText1;
  QRadioButton* RadioButton3;
  QRadioButton* RadioButton4;
  QRadioButton* RadioButton5;
  QRadioButton* RadioButton6;
  QRadioButton* RadioButton7;
  QPushButton* Button3;
  QPushButton* Button4;
  QMenu* PopupMenu1;
  // Bytes of a loaded file that are no character; characters a CP932 save lacks.
  Notice* notice_;
};

}  // namespace tabulon
