// TForm2, the preview window: shows the table text as it will be copied.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace tabulon {

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  // Shows the CP932 lines of the table.
  void SetLines(const std::vector<std::string>& lines);
  QString Text() const;

 private:
  QPlainTextEdit* Memo1;
  QPushButton* Button1;
  QPushButton* Button2;
};

}  // namespace tabulon
