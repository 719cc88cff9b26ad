// The preview window, offscreen: wrapping through "Ｏ Ｋ", saving and loading
// .TXT files through the window, with the dialogs answered by the test.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <fstream>

#include "app/Unit1.h"
#include "document/codec.h"
#include "document/document.h"
#include "document/width.h"
#include "files/text_file.h"
#include "preview/Unit2.h"
#include "support/text.h"
#include "table/reader.h"
#include "table/writer.h"

using namespace tabulon;
using tabulon::testing::Sj;
using tabulon::testing::Utf8;
namespace {

const char* const kAsciiTable =
    "+-^---==-^---+\r\n|Plan        |\r\n+---+---+----+\r\n| ＼|a  |b   |\r\n"
    "+---+---+----+\r\n|  1|x  |yy  |\r\n+---+---+----+\r\n|  2|12 |z   |\r\n"
    "+---+---+----+\r\n";

std::string ReadFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

class Unit2Test : public QObject {
  Q_OBJECT

  // A main window read from `clipboard`, whose clipboard output, preview
  // dialogs and preview result the test answers.
  struct Harness {
    explicit Harness(const char* clipboard) {
      QGuiApplication::clipboard()->setText(QString::fromUtf8(clipboard));
      MainSeams seams;
      seams.putOnClipboard = [this](const std::string& text) {
        copied.push_back(Utf8(text));
        return true;
      };
      seams.preview = [this] {
        PreviewSeams s;
        s.saveFileName = [this](QWidget*, bool* utf8) {
          *utf8 = saveUtf8;
          return fileName;
        };
        s.openFileName = [this](QWidget*) { return fileName; };
        s.showError = [this](QWidget*, const QString& m) { errors << m; };
        return s;
      };
      seams.runPreview = [this](TForm2& preview) { return act(preview); };
      form = std::make_unique<TForm1>(std::move(seams));
      form->Start();
      form->show();
    }
    // Presses "作成する"; `work` works the open preview and gives its result.
    void Create(std::function<int(TForm2&)> work) {
      act = std::move(work);
      form->Button1Click();
    }
    std::function<int(TForm2&)> act;
    std::unique_ptr<TForm1> form;
    std::vector<std::string> copied;
    QString fileName;
    bool saveUtf8 = false;  // the save dialog's UTF-8 type chosen
    QStringList errors;
  };

  static int Choose(TForm2& preview, const char* radio) {
    preview.findChild<QRadioButton*>(radio)->click();
    return QDialog::Accepted;
  }

 private slots:
  void okWrapsCopiesAndEnds() {
    Harness h(kAsciiTable);
    h.Create([](TForm2& p) { return Choose(p, "RadioButton1"); });  // Delphi
    QCOMPARE(h.copied.size(), std::size_t(1));
    const std::string& text = h.copied[0];
    QVERIFY(text.rfind("{-^---==-^---+\r\n|Plan        |\r\n", 0) == 0);
    QVERIFY(text.size() > 16 && text.compare(text.size() - 16, 16, "+---+---+----}\r\n") == 0);
    QVERIFY(!h.form->isVisible());

    Harness c(kAsciiTable);
    c.Create([](TForm2& p) {
      // StaticText1 stands in for the C family button's caption.
      QTest::mouseClick(p.findChild<QWidget*>("StaticText1"), Qt::LeftButton);
      return QDialog::Accepted;
    });
    QVERIFY(c.copied.at(0).rfind("/*^---==-^---+\r\n", 0) == 0);
  }

  // A table that stood behind "//" or "#" opens the preview on that format,
  // and Ｏ Ｋ gives it back behind it; "//" and "#" lead every line.
  void lineCommentsComeBackAsTheyCame() {
    for (const std::string leader : {"// ", "# "}) {
      std::string behind;
      for (const std::string& line : SplitLines(kAsciiTable)) behind += leader + line + "\r\n";
      Harness h(behind.c_str());
      WrapStyle opened = WrapStyle::Plain;
      h.Create([&](TForm2& p) { return opened = p.Style(), QDialog::Accepted; });
      QCOMPARE(opened, leader == "// " ? WrapStyle::Slashes : WrapStyle::Hash);
      QCOMPARE(h.copied.at(0), behind);
    }
    // A Markdown table opens on "Markdown", shown as Markdown, and goes back
    // as it came; ﾌﾟﾚｰﾝ chosen instead shows and writes the ruled table.
    const char* const kMarkdown = "| 品名   | 数量 |\r\n| ------ | ---: |\r\n| りんご |   12 |\r\n";
    Harness md(kMarkdown);
    WrapStyle style = WrapStyle::Plain;
    std::string shown;
    md.Create([&](TForm2& p) {
      style = p.Style();
      shown = p.MemoText();
      Choose(p, "RadioButton4");
      return Choose(p, "RadioButton7");
    });
    QCOMPARE(style, WrapStyle::Markdown);
    QCOMPARE(shown, std::string(kMarkdown));
    QCOMPARE(md.copied.at(0), std::string(kMarkdown));
    Harness ruled(kMarkdown);
    ruled.Create([](TForm2& p) {
      Choose(p, "RadioButton4");
      return p.MemoText().starts_with("+-^") ? QDialog::Accepted : QDialog::Rejected;
    });
    QVERIFY(ruled.copied.at(0).starts_with("+-^"));

    Harness plain(kAsciiTable);
    plain.Create([](TForm2& p) { return Choose(p, "RadioButton6"); });  // "#"
    for (const std::string& line : SplitLines(plain.copied.at(0))) {
      QVERIFY2(line.starts_with("# "), line.c_str());
    }
  }

  void backLeavesTheClipboardAndTheProgramAlone() {
    Harness h(kAsciiTable);
    h.Create([](TForm2& p) {
      // A new preview starts at "ﾌﾟﾚｰﾝ" every time.
      if (!p.findChild<QRadioButton*>("RadioButton4")->isChecked()) return -1;
      return static_cast<int>(QDialog::Rejected);
    });
    QVERIFY(h.copied.empty());
    QVERIFY(h.form->isVisible());
  }

  void rulerStandsOverTheText() {
    TForm2 preview(PreviewSeams{});
    preview.SetLines({"+-^--=---^-+"});
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    auto* memo = preview.findChild<QPlainTextEdit*>("Memo1");
    auto* ruler = preview.findChild<QWidget*>("Label1");
    QTextCursor cursor(memo->document());
    for (int column : {0, 9, 10}) {
      cursor.setPosition(column);
      const int textX = memo->viewport()->mapTo(&preview, memo->cursorRect(cursor).topLeft()).x();
      QCOMPARE(textX, ruler->x() + 6 * column);
    }
  }

  // Each cluster takes its columns × 6 px, as a terminal draws it, whatever
  // the fonts lack or draw at another width, a mark alone at a line's start
  // too: it starts at 6 px × its column, so the bars of a box table stand at
  // the same x on every line. (A letter spacing is whole 64ths of a pixel: a
  // sequence drawn as five glyphs may end a 64th off.) A copy of it all gives
  // back the characters.
  void memoDrawsEachClusterInItsColumns() {
    Document doc;
    SetUpGrid(doc);
    doc.options.SetChecked(Option::BoxRules, true);
    doc.options.SetChecked(Option::Trim, true);
    const char* const cells[] = {
        "ab", "かな", "○①α─", "é ñ €", "✅ 😀", "한", "𠮷", "e\u0301", "🇯🇵👨\u200d👩\u200d👧"};
    for (int i = 0; i < 9; ++i) {
      doc.grid.SetCell(2 + i % 3, 1 + i / 3, Sj(cells[i]));
      doc.grid.SetCell(2 + (i + 1) % 3, 4 + i / 3, Sj(cells[i]));
    }
    std::vector<std::string> lines = WriteTable(doc).lines;
    lines.push_back(Sj("\u0301") + lines.back());
    TForm2 preview(PreviewSeams{});
    preview.SetLines(lines);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    auto* memo = preview.findChild<QPlainTextEdit*>("Memo1");
    QTextBlock block = memo->document()->firstBlock();
    const qreal left = block.layout()->lineAt(0).cursorToX(0);
    for (const std::string& line : lines) {
      int at = 0;  // UTF-16 units before the cluster
      long column = 0;
      for (const Cluster& c : Clusters(line)) {
        const qreal x = block.layout()->lineForTextPosition(at).cursorToX(at);
        QVERIFY2(qAbs(x - (left + 6 * column)) < 0.1, Utf8(line).c_str());
        at += QString::fromStdString(Utf8(line.substr(c.begin, c.end - c.begin))).size();
        column += c.columns;
      }
      block = block.next();
    }
    memo->selectAll();
    memo->copy();
    QString all = QString::fromStdString(Utf8(JoinLinesCrLf(lines)));
    all.replace("\r\n", "\n").chop(1);
    QCOMPARE(QGuiApplication::clipboard()->text(), all);
  }

  void staticTextSelectsTheCFamilyAndShowsItsFocus() {
    TForm2 preview(PreviewSeams{});
    preview.show();
    preview.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    auto* caption = preview.findChild<QWidget*>("StaticText1");
    const int frameY = caption->y() - 2;
    auto inkOnFrameLine = [&] {
      const QImage image = preview.grab().toImage();
      const QColor background = image.pixelColor(caption->x() + 20, frameY - 3);
      for (int x = caption->x(); x < caption->x() + caption->width(); ++x) {
        if (image.pixelColor(x, frameY) != background) return true;
      }
      return false;
    };
    QVERIFY(!inkOnFrameLine());
    QTest::mouseClick(caption, Qt::RightButton);  // only a left click selects
    QCOMPARE(preview.Style(), WrapStyle::Plain);
    QTest::mouseClick(caption, Qt::LeftButton);
    QCOMPARE(preview.Style(), WrapStyle::CFamily);
    QCOMPARE(QApplication::focusWidget(), preview.findChild<QWidget*>("RadioButton2"));
    QVERIFY(inkOnFrameLine());
    preview.findChild<QWidget*>("RadioButton3")->setFocus();
    QVERIFY(!inkOnFrameLine());
  }

  // Tab enters the style group at its checked button and leaves it at once;
  // the arrows move the check with the focus, wrapping at the ends.
  void tabEntersTheStylesAtTheCheckedOne() {
    TForm2 preview(PreviewSeams{});
    preview.show();
    preview.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    const auto find = [&](const char* name) { return preview.findChild<QWidget*>(name); };
    find("Button1")->setFocus();
    QTest::keyClick(find("Button1"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), find("RadioButton4"));  // ﾌﾟﾚｰﾝ, checked
    QTest::keyClick(find("RadioButton4"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), find("Button3"));
    QTest::keyClick(find("Button3"), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), find("RadioButton4"));
    // Down through "//", "#" and Markdown below ﾌﾟﾚｰﾝ, and round to Delphi.
    const std::pair<const char*, WrapStyle> kDown[] = {{"RadioButton5", WrapStyle::Slashes},
                                                       {"RadioButton6", WrapStyle::Hash},
                                                       {"RadioButton7", WrapStyle::Markdown},
                                                       {"RadioButton1", WrapStyle::Delphi}};
    for (const auto& [name, style] : kDown) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
      QCOMPARE(QApplication::focusWidget(), find(name));
      QCOMPARE(preview.Style(), style);
    }
    QTest::keyClick(find("RadioButton1"), Qt::Key_Up);
    QCOMPARE(preview.Style(), WrapStyle::Markdown);
    QTest::keyClick(find("RadioButton7"), Qt::Key_Left);
    QCOMPARE(preview.Style(), WrapStyle::Hash);
    QTest::keyClick(find("RadioButton6"), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), find("RadioButton6"));
  }

  // A text of megabytes is shown in part, but copied whole: a selection to
  // the end of the memo takes the rest along; one that stops short does not.
  void memoShowsPartOfAHugeTextAndCopiesItWhole() {
    TForm2 preview(PreviewSeams{});
    std::string text;
    const std::string cell = Sj("あ");
    for (int i = 0; text.size() < 3'000'000; ++i)
      text += "row " + std::to_string(i) + "\t" + cell + "\r\n";
    preview.SetLines({text.substr(0, text.size() - 2)});
    auto* memo = preview.findChild<QPlainTextEdit*>("Memo1");
    QVERIFY(memo->document()->characterCount() < 300'000);
    memo->selectAll();
    memo->copy();
    QString expected = QString::fromStdString(Utf8(text));
    expected.replace("\r\n", "\n");
    expected.chop(1);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    QTextCursor head = memo->textCursor();
    head.setPosition(0);
    head.setPosition(6, QTextCursor::KeepAnchor);
    memo->setTextCursor(head);
    memo->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("row 0\t"));
    QCOMPARE(preview.MemoText(), text);
  }

  void ctrlAExactlySelectsAll() {
    TForm2 preview(PreviewSeams{});
    preview.SetLines({"abc", "def"});
    auto* memo = preview.findChild<QPlainTextEdit*>("Memo1");
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!memo->textCursor().hasSelection());
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(memo->textCursor().selectedText(), QString("abc") + QChar(0x2029) + "def");
  }

  // Tab and Return are the memo's, which is read-only: nothing happens.
  // Ctrl+Tab leaves it; Escape closes nothing.
  void keysInTheMemoStayThere() {
    TForm2 preview(PreviewSeams{});
    preview.SetLines({"abc"});
    preview.show();
    preview.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    auto* memo = preview.findChild<QPlainTextEdit*>("Memo1");
    memo->setFocus();
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter}) {
      QTest::keyClick(memo, key);
      QCOMPARE(QApplication::focusWidget(), memo);
      QVERIFY(preview.isVisible());
    }
    QTest::keyClick(memo, Qt::Key_Escape);
    QVERIFY(preview.isVisible());
    QTest::keyClick(memo, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), preview.findChild<QWidget*>("Button2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // "戻る" takes its Return
    QVERIFY(!preview.isVisible());
    QCOMPARE(preview.result(), static_cast<int>(QDialog::Rejected));
  }

  void saveWritesCp932WithCrLfUnderATxtName() {
    QTemporaryDir dir;
    for (const char* chosen : {"plain", "table.txt", "data.csv", "a.b.c"}) {
      Harness h("品\t1\r\nりんご\t22\r\n");
      h.fileName = dir.filePath(chosen);
      h.Create([](TForm2& p) {
        p.Button4Click();
        return static_cast<int>(QDialog::Rejected);
      });
      QString base = QString(chosen).section('.', 0, QString(chosen).count('.') ? -2 : -1);
      const std::string saved = ReadFile(dir.filePath(base + ".TXT"));
      QVERIFY2(saved.rfind("+-^---==-^", 0) == 0, chosen);
      QVERIFY(saved.find(Utf8ToCp932("りんご")) != std::string::npos);
      QVERIFY(saved.size() > 2 && saved.compare(saved.size() - 2, 2, "\r\n") == 0);
      QVERIFY(h.errors.isEmpty());
    }
  }

  // The save dialog's second type writes UTF-8 with LF; a load reads such a
  // file (or one a Linux editor wrote) as UTF-8, and a CP932 one as CP932.
  void utf8FilesSaveAndLoadAsTheyLook() {
    QTemporaryDir dir;
    Harness h("品\t1\r\nりんご\t22\r\n");
    h.fileName = dir.filePath("table");
    h.saveUtf8 = true;
    h.Create([](TForm2& p) {
      p.Button4Click();
      return static_cast<int>(QDialog::Rejected);
    });
    const std::string saved = ReadFile(dir.filePath("table.TXT"));
    QVERIFY(saved.rfind("+-^---==-^", 0) == 0);
    QVERIFY(saved.find("|  2|りんご|") != std::string::npos);
    QVERIFY(saved.find('\r') == std::string::npos && saved.ends_with("+\n"));
    for (const std::string& file :
         {saved, Utf8ToCp932(saved), saved + "😀\n", Utf8ToCp932(saved) + "\xA0\n"}) {
      std::ofstream(dir.filePath("load.TXT").toStdString(), std::ios::binary) << file;
      Harness loading(kAsciiTable);
      loading.fileName = dir.filePath("load.TXT");
      QString note;  // what the preview says of bytes that are no character
      loading.Create([&](TForm2& p) {
        p.Button3Click();
        if (auto* notice = p.findChild<QLabel*>("Notice"); notice && !notice->isHidden()) {
          note = notice->text();
        }
        return static_cast<int>(QDialog::Rejected);
      });
      QCOMPARE(loading.form->document().grid.Cell(2, 2), Sj("りんご"));
      QCOMPARE(note.isEmpty(), !file.ends_with("\xA0\n"));  // 😀 is kept without a word
    }
  }

  void failedSaveShowsTheMessageAndStaysOpen() {
    QTemporaryDir dir;
    Harness h(kAsciiTable);
    h.fileName = dir.filePath("missing/table");
    bool stillOpen = false;
    h.Create([&](TForm2& p) {
      p.Button4Click();
      stillOpen = true;
      return static_cast<int>(QDialog::Rejected);
    });
    QVERIFY(stillOpen);
    QCOMPARE(h.errors.size(), 1);
    QCOMPARE(h.errors[0], QString::fromUtf8("ファイル \"") + dir.filePath("missing/table.TXT") +
                              QString::fromUtf8("\". No such file or directory を作成できません."));
  }

  void loadReadsTheFileIntoTheGridBeneath() {
    QTemporaryDir dir;
    const QString path = dir.filePath("basic.TXT");
    std::ofstream(path.toStdString(), std::ios::binary) << Utf8ToCp932(
        "'+-^---==-^---+\n'|Plan        |\n'+---+---+----+\n'| ＼|a  |b   |\n"
        "'+---+---+----+\n'|  1|x  |yy  |\n'+---+---+----+\n");
    Harness h("x\t1\r\ny\t2\r\n");
    h.form->document().options.SetChecked(Option::FixedWidth, true);
    h.fileName = path;
    h.Create([&](TForm2& p) {
      p.Button3Click();
      // The preview shows the file; the clipboard holds it with CR LF.
      const QString shown = p.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
      return shown.startsWith("'+-^") ? static_cast<int>(QDialog::Rejected) : -1;
    });
    QCOMPARE(h.copied.size(), std::size_t(1));
    QVERIFY(h.copied[0].find("'|Plan        |\r\n") != std::string::npos);
    const Document& doc = h.form->document();
    QCOMPARE(doc.grid.Cell(3, 1), std::string("yy"));
    QCOMPARE(doc.grid.Cell(2, 2), std::string(""));
    QCOMPARE(doc.options.Title(), std::string("Plan"));
    // A Basic-wrapped table has "^-" at column 4: 罫線 was switched off first.
    QVERIFY(!doc.options.Checked(Option::Ruled));
    QVERIFY(!doc.options.Checked(Option::FixedWidth));
    QCOMPARE(h.form->findChild<QLineEdit*>("Edit1")->text(), QString("Plan"));
  }

  void binaryFileLoadsAsBytes() {
    QTemporaryDir dir;
    const QString path = dir.filePath("blob.TXT");
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += static_cast<char>((i * 7919) % 256);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    Harness h(kAsciiTable);
    h.fileName = path;
    h.Create([](TForm2& p) {
      p.Button3Click();
      return static_cast<int>(QDialog::Rejected);
    });
    QVERIFY(h.errors.isEmpty());
    QCOMPARE(h.copied.size(), std::size_t(1));
  }

  void failedLoadChangesNothing() {
    QTemporaryDir dir;
    Harness h(kAsciiTable);
    h.fileName = dir.filePath("none.TXT");
    h.Create([](TForm2& p) {
      p.Button3Click();
      return static_cast<int>(QDialog::Rejected);
    });
    QCOMPARE(h.errors.size(), 1);
    QVERIFY(h.errors[0].endsWith(QString::fromUtf8("は開けません.")));
    QVERIFY(h.copied.empty());
    QCOMPARE(h.form->document().grid.Cell(3, 1), std::string("yy"));
    QCOMPARE(h.form->document().options.Title(), std::string("Plan"));
  }
};

QTEST_MAIN(Unit2Test)
#include "unit2_test.moc"
