#include "preview/Unit2.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "app/grid_font.h"
#include "document/codec.h"

namespace tabulon {

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName("Form2");
  setWindowTitle(QString::fromUtf8("プレビュー"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(709, 448);
  setModal(true);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setGeometry(7, 16, 606, 426);
  Memo1->setFont(GridFont());
  Memo1->setReadOnly(true);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setTabStopDistance(6);

  Button1 = new QPushButton(QString::fromUtf8("Ｏ Ｋ"), this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(624, 7, 75, 25);
  Button1->setDefault(true);
  Button2 = new QPushButton(QString::fromUtf8("戻る"), this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(624, 39, 75, 25);
  Button2->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm2::SetLines(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(Cp932ToUtf8(line));
  Memo1->setPlainText(text.join('\n'));
}

QString TForm2::Text() const {
  return Memo1->toPlainText();
}

}  // namespace tabulon
