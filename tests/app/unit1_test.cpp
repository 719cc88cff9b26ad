// The main window, offscreen: option controls against the core's handlers,
// the title limit, start-up from the clipboard, editing, widths and moves.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <vector>

#include "app/Unit1.h"
#include "app/grid_paint.h"
#include "app/grid_view.h"
#include "document/codec.h"
#include "document/text_columns.h"
#include "editing/inserted_content.h"
#include "support/text.h"
#include "table/writer.h"
#include "widgets/controls.h"
#include "widgets/grid_font.h"
#include "widgets/widgets.h"

using namespace tabulon;
using tabulon::testing::Sj;
using tabulon::testing::Utf8;

namespace {

// Sends text as an input method commits it, as Japanese input arrives.
void Commit(QWidget* widget, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

class Unit1Test : public QObject {
  Q_OBJECT

 private:
  template <typename W>
  W* Find(TForm1& form, const char* name) {
    W* w = form.findChild<W*>(QString::fromUtf8(name));
    if (!w) qFatal("no widget %s", name);
    return w;
  }

 private slots:
  void init() { QGuiApplication::clipboard()->clear(); }

  void windowHasItsDesignedShape() {
    TForm1 form;
    QCOMPARE(form.windowTitle(), QString::fromUtf8("(^-^))Tabulon"));
    QCOMPARE(form.size(), QSize(644, 349));
    QCOMPARE(Find<QWidget>(form, "StringGrid1")->geometry(), QRect(3, 32, 639, 276));
    QCOMPARE(Find<QCheckBox>(form, "CheckBox4")->text(), QString::fromUtf8("空白列切捨て"));
    QCOMPARE(Find<QRadioButton>(form, "RadioButton1")->text(), QString::fromUtf8("+ | -"));
    QCOMPARE(Find<QWidget>(form, "Button1")->geometry(), QRect(560, 316, 75, 25));
    // The window opens with the focus on "作成する", the default button.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(form, "Button1"));
  }

  void rulesOffGreysTheHeadingsAndOnLeavesThemUnchecked() {
    TForm1 form;
    auto* rules = Find<QCheckBox>(form, "CheckBox5");
    auto* columnHeadings = Find<QCheckBox>(form, "CheckBox1");
    rules->click();
    QVERIFY(!columnHeadings->isChecked());
    QVERIFY(!columnHeadings->isEnabled());
    QVERIFY(!Find<QRadioButton>(form, "RadioButton2")->isEnabled());
    rules->click();
    QVERIFY(columnHeadings->isEnabled());
    QVERIFY(!columnHeadings->isChecked());
    QVERIFY(!form.document().options.Checked(Option::ColumnHeadings));
  }

  void widthArrowsStepWithinTwelveToNinetyNine() {
    TForm1 form;
    auto* width = Find<QCheckBox>(form, "CheckBox6");
    auto* up = Find<QToolButton>(form, "UpDown1Up");
    auto* down = Find<QToolButton>(form, "UpDown1Down");
    auto* shown = Find<QLineEdit>(form, "Edit2");
    QVERIFY(!down->isEnabled() || !shown->isEnabled());
    width->click();
    QVERIFY(shown->isEnabled());
    for (int i = 0; i < 100; ++i) down->click();
    QCOMPARE(shown->text(), QString("12"));
    QVERIFY(!down->isEnabled());
    up->click();
    QCOMPARE(form.document().options.Position(), 13);
    for (int i = 0; i < 28; ++i) up->click();
    QCOMPARE(shown->text(), QString("41"));
    // Checking 空白列切捨て unchecks and greys 桁数 and returns the width to 99.
    Find<QCheckBox>(form, "CheckBox4")->click();
    QVERIFY(!width->isChecked());
    QVERIFY(!width->isEnabled());
    QCOMPARE(shown->text(), QString("99"));
    QVERIFY(!shown->isEnabled());
  }

  void titleFieldRefusesMoreThan97Columns() {
    TForm1 form;
    auto* title = Find<QLineEdit>(form, "Edit1");
    form.show();
    title->setFocus();
    Commit(title, QString::fromUtf8("表").repeated(48));  // 96 columns
    Commit(title, QString::fromUtf8("漢"));               // 98: refused
    QCOMPARE(title->text(), QString::fromUtf8("表").repeated(48));
    QTest::keyClicks(title, "ab");  // 97 fits, 98 does not
    QCOMPARE(title->text(), QString::fromUtf8("表").repeated(48) + "a");
    QCOMPARE(form.document().options.Title(),
             Sj("表表表表表表表表表表表表表表表表表表表表表表表表"
                "表表表表表表表表表表表表表表表表表表表表表表表表a"));
  }

  void titleReadFromATableKeepsItsLengthButGrowsNoFurther() {
    TForm1 form;
    auto* title = Find<QLineEdit>(form, "Edit1");
    form.show();
    form.document().options.SetTitle(std::string(100, 'x'));
    title->setFocus();
    title->end(false);
    QTest::keyClick(title, Qt::Key_A);
    QCOMPARE(title->text().size(), 100);
    QTest::keyClick(title, Qt::Key_Backspace);
    QCOMPARE(form.document().options.Title(), std::string(99, 'x'));
    QTest::keyClick(title, Qt::Key_A);  // shortened, it does not grow again
    QCOMPARE(form.document().options.Title(), std::string(99, 'x'));
  }

  // Tab leaves the grid; the up-down control is one stop stepped by the
  // arrow keys; a focused "閉じる" takes Return and ends the window.
  void keyboardWalksTheControls() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* grid = Find<QWidget>(form, "StringGrid1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(form, "CheckBox1"));
    // So does Tab from a cell being edited, keeping what was typed.
    auto* view = Find<StringGrid>(form, "StringGrid1");
    view->edit(view->model()->index(0, 0));
    QTest::keyClicks(QApplication::focusWidget(), "q");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(form, "CheckBox1"));
    QCOMPARE(form.document().grid.Cell(2, 1), std::string("q"));
    Find<QCheckBox>(form, "CheckBox6")->click();
    auto* arrows = Find<QWidget>(form, "UpDown1");
    arrows->setFocus();
    QTest::keyClick(arrows, Qt::Key_Down);
    QTest::keyClick(arrows, Qt::Key_Down);
    QTest::keyClick(arrows, Qt::Key_Up);
    QCOMPARE(form.document().options.Position(), 98);
    QTest::keyClick(arrows, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(form, "Button1"));
    QTest::keyClick(Find<QWidget>(form, "Button1"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(form, "Button2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!form.isVisible());
  }

  // Tab reaches the checked ruling and the arrows move its check; the width
  // keeps stepping while an arrow is held, and Up and Down step it from its
  // field too.
  void radioGroupAndWidthControlAsDesktopControls() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Find<QAbstractButton>(form, "RadioButton2")->click();  // 罫線文字
    auto* rules = Find<QWidget>(form, "CheckBox5");
    rules->setFocus();
    QTest::keyClick(rules, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(form, "RadioButton2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(form, "RadioButton1"));
    QVERIFY(form.document().options.Checked(Option::AsciiRules));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(form, "CheckBox6"));

    Find<QCheckBox>(form, "CheckBox6")->click();
    const OptionState& options = form.document().options;
    auto* field = Find<QLineEdit>(form, "Edit2");
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Up);
    const int start = options.Position();
    QCOMPARE(start, kMaxLineWidth - 1);
    auto* down = Find<QToolButton>(form, "UpDown1Down");
    QTest::mousePress(down, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(options.Position() <= start - 3, 5000);
    QTest::mouseRelease(down, Qt::LeftButton);
    const int held = options.Position();
    QTest::qWait(300);
    QCOMPARE(options.Position(), held);  // released: no more steps
  }

  // The title field keeps what the user types, caret and all, up to 97
  // columns: "〜" stays "〜", 😀 takes two columns and é one.
  void titleKeepsWhatTheUserTypesWithinItsColumns() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* title = Find<QLineEdit>(form, "Edit1");
    title->setFocus();
    QTest::keyClicks(title, "10-20");
    QTest::keyClick(title, Qt::Key_Home);
    QTest::keyClick(title, Qt::Key_Right);
    QTest::keyClick(title, Qt::Key_Right);
    Commit(title, QString::fromUtf8("〜"));
    QTest::keyClicks(title, "x");
    QTest::keyClick(title, Qt::Key_Left);
    Commit(title, QString::fromUtf8("😀"));
    QTest::keyClicks(title, "y");
    QCOMPARE(title->text(), QString::fromUtf8("10〜😀yx-20"));
    QCOMPARE(form.document().options.Title(), std::string("10〜😀yx-20"));

    title->selectAll();
    QTest::keyClicks(title, QString(94, 'a'));
    Commit(title, QString::fromUtf8("😀"));   // 96 columns
    Commit(title, QString::fromUtf8("é"));   // 97
    QTest::keyClicks(title, "b");            // 98: refused
    Commit(title, QString::fromUtf8("表"));  // refused
    QCOMPARE(title->text(), QString(94, 'a') + QString::fromUtf8("😀é"));
    QCOMPARE(Columns(form.document().options.Title()), 97);
  }

  // The toolkit's own texts in Japanese, and the menus in the window's font.
  void toolkitSpeaksJapaneseInTheWindowFont() {
    QVERIFY(InstallToolkitTranslations());
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel);
    QVERIFY(box.button(QMessageBox::Cancel)->text().contains(QString::fromUtf8("キャンセル")));
    TForm1 form;
    const PopupMenus& menus = form.Menus();
    QMenu* numbers = nullptr;
    for (QMenu* m : menus.PopupMenu1->findChildren<QMenu*>()) {
      if (m->title() == QString::fromUtf8("Ⅰ..Ⅹ")) numbers = m;
    }
    QVERIFY(numbers);
    for (QMenu* m : {menus.PopupMenu1, menus.PopupMenu3, numbers}) {
      QCOMPARE(m->font().family(), form.font().family());
      QCOMPARE(m->font().pixelSize(), 12);
    }
  }

  void startUpReadsTheTableOnTheClipboard() {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(
        "/*┌^---==-^───-┐\r\n  │Plan           │\r\n  ├──┬─-┬──┤\r\n  │ ＼ │a  │b   │\r\n"
        "  ├──┼─-┼──┤\r\n  │   1│x  │yy  │\r\n  ├──┼─-┼──┤\r\n  │   2│12 │z   │\r\n"
        "  └──┴─-┴──┘*/\r\n"));
    TForm1 form;
    form.Start();
    const Document& doc = form.document();
    QCOMPARE(doc.grid.Cell(3, 1), std::string("yy"));
    QCOMPARE(doc.grid.ColWidth(2), 23);
    QCOMPARE(doc.grid.ColWidth(3), 29);
    QCOMPARE(Find<QLineEdit>(form, "Edit1")->text(), QString("Plan"));
    QVERIFY(Find<QRadioButton>(form, "RadioButton2")->isChecked());
    QVERIFY(Find<QCheckBox>(form, "CheckBox4")->isChecked());
    QCOMPARE(Find<QLineEdit>(form, "Edit2")->text(), QString("21"));
    StringGrid* grid = form.grid();
    QCOMPARE(grid->model()->data(grid->model()->index(1, 0)).toString(), QString("12"));
    QCOMPARE(grid->horizontalHeader()->sectionSize(1), 29 + 1);  // plus the grid line
  }

  void typedTextIsStoredAsTyped() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    StringGrid* grid = form.grid();
    const QModelIndex cell = grid->model()->index(2, 1);  // grid cell (3, 3)
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    Commit(editor, QString::fromUtf8("漢字①ｶﾅ") + QChar(0x00E9));
    QCOMPARE(editor->text(), QString::fromUtf8("漢字①ｶﾅ") + QChar(0x00E9));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(QString::fromStdString(Utf8(form.document().grid.Cell(3, 3))),
             QString::fromUtf8("漢字①ｶﾅ") + QChar(0x00E9));
  }

  void draggedBorderIsTheWidthTheWriterUses() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QHeaderView* header = form.grid()->horizontalHeader();
    const int edge = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(header->viewport(), QPoint(edge + 24, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 24, y));
    QCOMPARE(form.document().grid.ColWidth(2), 17 + 24);
    Document& doc = form.document();
    doc.options.SetChecked(Option::Trim, true);
    doc.options.SetChecked(Option::Title, false);
    QCOMPARE(WriteTable(doc).lines[2], std::string("+---+------+"));

    // Column 1's border is the corner cell's right edge; the row headings
    // follow it.
    auto* corner = form.grid()->findChild<QAbstractButton*>();
    const int rowHeadings = doc.grid.ColWidth(1), cornerEdge = corner->width() - 1;
    QTest::mousePress(corner, Qt::LeftButton, {}, QPoint(cornerEdge, y));
    QTest::mouseMove(corner, QPoint(cornerEdge + 12, y));
    QTest::mouseRelease(corner, Qt::LeftButton, {}, QPoint(cornerEdge + 12, y));
    QCOMPARE(doc.grid.ColWidth(1), rowHeadings + 12);
    QCOMPARE(form.grid()->verticalHeader()->width(), rowHeadings + 12 + 1);
  }

  void movingAColumnMovesItsCellsHeadingAndWidth() {
    TForm1 form;
    Document& doc = form.document();
    doc.grid.SetCell(2, 1, "first");
    doc.grid.SetColWidth(2, 35);
    form.RefreshAll();
    QHeaderView* header = form.grid()->horizontalHeader();
    header->moveSection(0, 2);  // as a heading drag ends
    QCOMPARE(doc.grid.Cell(4, 1), std::string("first"));
    QCOMPARE(doc.grid.Cell(4, 0), std::string("a"));
    QCOMPARE(doc.grid.Cell(2, 0), std::string("b"));
    QCOMPARE(doc.grid.ColWidth(4), 35);
    QCOMPARE(header->visualIndex(0), 0);  // the view follows the document
    QCOMPARE(form.grid()->model()->headerData(2, Qt::Horizontal).toString(), QString("a"));

    form.grid()->verticalHeader()->moveSection(0, 5);
    QCOMPARE(doc.grid.Cell(4, 6), std::string("first"));
    QCOMPARE(doc.grid.Cell(1, 6), std::string("  1"));
  }

  // Presses on the cells, both headers and the corner reach the editing
  // rules with the cell under them and the modifiers held; a right click
  // opens the chosen menu on its release; on the corner, none.
  void mouseOnEachPartOfTheGridReachesTheRules() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    StringGrid* grid = form.grid();
    const Document& doc = form.document();
    QWidget* cells = grid->viewport();
    QWidget* columns = grid->horizontalHeader()->viewport();
    QWidget* rows = grid->verticalHeader()->viewport();
    auto* corner = grid->findChild<QAbstractButton*>();
    const QPoint secondColumn(grid->columnViewportPosition(1) + 5, 5);  // column 3
    const QPoint thirdRow(5, grid->rowViewportPosition(2) + 5);         // row 3

    QTest::mouseClick(columns, Qt::LeftButton, {}, secondColumn);
    QCOMPARE(doc.grid.Selection(), (GridSelection{3, 1, 3, 256}));
    QTest::mouseClick(cells, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, thirdRow.y()));
    QCOMPARE(doc.grid.Selection(), (GridSelection{3, 1, 2, 3}));  // from the heading's column
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 6);
    QTest::mouseClick(rows, Qt::LeftButton, Qt::ControlModifier, thirdRow);
    QCOMPARE(doc.grid.Selection(), (GridSelection{2, 3, 36, 3}));
    QTest::mouseClick(corner, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(doc.grid.Selection(), (GridSelection{2, 1, 36, 256}));
    // A press inside the block keeps it; Shift + press then extends from
    // the cell that press recorded, not from the block's own anchor.
    const auto cellPoint = [grid](int col, int row) {
      return QPoint(grid->columnViewportPosition(col - 2) + 5,
                    grid->rowViewportPosition(row - 1) + 5);
    };
    QTest::mouseClick(cells, Qt::LeftButton, {}, cellPoint(3, 2));
    QCOMPARE(doc.grid.Selection(), (GridSelection{2, 1, 36, 256}));
    QTest::keyPress(grid, Qt::Key_Shift);  // a key press of its own
    QTest::mouseClick(cells, Qt::LeftButton, Qt::ShiftModifier, cellPoint(5, 4));
    QTest::keyRelease(grid, Qt::Key_Shift);
    QCOMPARE(doc.grid.Selection(), (GridSelection{3, 2, 5, 4}));
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 9);
    QTest::mouseClick(corner, Qt::LeftButton, {}, QPoint(5, 5));

    const struct {
      QWidget* on;
      QPoint at;
      const char* menu;
      int col, row;
    } clicks[] = {{cells, QPoint(5, 5), "PopupMenu1", 2, 1},
                  {columns, secondColumn, "PopupMenu2", 3, 0},
                  {rows, thirdRow, "PopupMenu3", 1, 3}};
    for (const auto& c : clicks) {
      QTest::mousePress(c.on, Qt::RightButton, {}, c.at);
      QVERIFY(!QApplication::activePopupWidget());  // not before the release
      QTest::mouseRelease(c.on, Qt::RightButton, {}, c.at);
      QTRY_VERIFY(QApplication::activePopupWidget());
      QCOMPARE(QApplication::activePopupWidget()->objectName(), QString(c.menu));
      QCOMPARE(doc.CurCol, c.col);
      QCOMPARE(doc.CurRow, c.row);
      QApplication::activePopupWidget()->close();
    }
    QTest::mousePress(corner, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseRelease(corner, Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(doc.CurCol, 1);
    QCOMPARE(doc.CurRow, 0);

    // A click on a row heading released left of the grid, then a
    // double-click: the row's continuation mark.
    QTest::mousePress(rows, Qt::LeftButton, {}, thirdRow);
    QTest::mouseRelease(rows, Qt::LeftButton, {}, QPoint(-20, thirdRow.y()));
    QCOMPARE(doc.CurCol, 0);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, thirdRow, rows->mapToGlobal(thirdRow),
                            Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(rows, &doubleClick);
    QCOMPARE(doc.grid.Cell(0, 3), std::string(ContinuationMark));
  }

  // The insert commands ask first; anything but Yes changes nothing.
  void insertAsksAndNoChangesNothing() {
    QString asked;
    bool answer = false;
    MainSeams seams;
    seams.ask = [&](const QString& question) {
      asked = question;
      return answer;
    };
    TForm1 form(seams);
    Document& doc = form.document();
    doc.grid.SetCell(3, 1, "x");
    QAction* before = form.Menus().PopupMenu2->findChild<QAction*>("N75");
    doc.CurCol = 3;
    doc.CurRow = 0;
    before->trigger();
    QCOMPARE(asked,
             QString::fromUtf8("列を挿入すると、最終列が切り捨てられます。\n列を挿入しますか？"));
    QCOMPARE(doc.grid.Cell(3, 1), std::string("x"));
    answer = true;
    before->trigger();
    QCOMPARE(doc.grid.Cell(4, 1), std::string("x"));
    QCOMPARE(doc.grid.Cell(3, 1), std::string());
  }

  // The cell editor keeps to its cell however long the text, and a press on
  // another cell keeps what was typed and selects that cell.
  void cellEditorKeepsToItsCellAndAPressEndsIt() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    StringGrid* grid = form.grid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_A);  // a key opens the editor with it
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, " long text for a narrow cell");
    QVERIFY(editor->width() <= grid->columnWidth(0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint(grid->columnViewportPosition(1) + 5, 5));
    QCOMPARE(form.document().grid.Cell(2, 1), std::string("a long text for a narrow cell"));
    QCOMPARE(form.document().grid.Selection(), (GridSelection{3, 1, 3, 1}));
    QVERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));  // the editor has gone
  }

  // No key is lost or lands elsewhere: keys that come together (each sent
  // before the next is handled, to the widget with the focus), a word an
  // input method commits, and typing after a heading click.
  void typingLandsInTheCellBeingEdited() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    StringGrid* grid = form.grid();
    Document& doc = form.document();
    const auto type = [](std::initializer_list<Qt::Key> keys) {
      for (Qt::Key key : keys) QTest::keyClick(QApplication::focusWidget(), key);
    };
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(4, 0));  // cell (2, 5)
    type({Qt::Key_G, Qt::Key_1, Qt::Key_Return, Qt::Key_Right, Qt::Key_D, Qt::Key_Return});
    QCOMPARE(doc.grid.Cell(2, 5), std::string("g1"));
    QCOMPARE(doc.grid.Cell(3, 5), std::string("d"));

    // The input method talks to the grid while it composes the first word;
    // its text goes into the current cell even where that text stands in
    // another cell, and the composition shows whole over the next cells.
    doc.grid.SetCell(2, 9, Sj("山田"));
    form.RefreshAll();
    const QModelIndex cell = grid->model()->index(5, 0);  // cell (2, 6)
    grid->setCurrentIndex(cell);
    QInputMethodEvent composing(QString::fromUtf8("やまだ"), {});
    QCoreApplication::sendEvent(grid, &composing);
    QLineEdit* editor = nullptr;  // open, but the grid keeps the focus
    for (auto* e : grid->viewport()->findChildren<QLineEdit*>())
      editor = e->isVisible() ? e : editor;
    QVERIFY(editor && !editor->hasFocus());
    QVERIFY(editor->width() >= QFontMetrics(editor->font()).horizontalAdvance("やまだ"));
    Commit(grid, QString::fromUtf8("山田"));
    Commit(grid, QString::fromUtf8("さん"));  // to the grid though the editor has the focus
    QCOMPARE(grid->currentIndex(), cell);
    QCOMPARE(editor->width(), grid->columnWidth(0) - 1);  // back in its cell
    type({Qt::Key_Return});
    QCOMPARE(doc.grid.Cell(2, 6), Sj("山田さん"));
    QCOMPARE(grid->currentIndex(), cell);

    // After a click on a heading the current cell is the block's far end:
    // the grid scrolls to it when typing opens the editor.
    QHeaderView* columns = grid->horizontalHeader();
    QHeaderView* rows = grid->verticalHeader();
    const struct {
      QHeaderView* heading;
      int col, row;
    } headings[] = {{columns, 4, 256}, {rows, 36, 3}};
    for (const auto& h : headings) {
      grid->scrollToTop();
      const int at = h.heading->sectionViewportPosition(2) + 5;
      QTest::mouseClick(h.heading->viewport(), Qt::LeftButton, {},
                        h.heading == columns ? QPoint(at, 5) : QPoint(5, at));
      type({Qt::Key_X});
      QLineEdit* open = grid->OpenEditor();
      QVERIFY(open);
      QVERIFY(grid->viewport()->rect().contains(open->geometry()));
      type({Qt::Key_Return});
      QCOMPARE(doc.grid.Cell(h.col, h.row), std::string("x"));
    }
  }

  // Every character is kept, at start-up, typed and pasted, without a note;
  // bytes on the clipboard that are no character are told.
  void everyCharacterIsKeptAndBadBytesAreTold() {
    QGuiApplication::clipboard()->setText(QString::fromUtf8("😀\t€\r\nx\t😀\r\n"));
    TForm1 form;
    form.Start();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.document().grid.Cell(2, 1), std::string("😀"));
    QCOMPARE(form.document().grid.Cell(3, 2), std::string("😀"));
    auto* notice = form.findChild<QLabel*>("Notice");
    QVERIFY(notice && !notice->isVisible());
    StringGrid* grid = form.grid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(3, 0));
    QTest::keyClick(grid, Qt::Key_A);
    Commit(QApplication::focusWidget(), QString::fromUtf8("©"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(form.document().grid.Cell(2, 4), std::string("a©"));
    QVERIFY(!notice->isVisible());

    MainSeams seams;
    seams.readClipboard = [] {
      ClipboardRead read;
      read.text = "a\uFFFD\tb\uFFFD\r\n";
      read.replaced.count = 2;
      return read;
    };
    TForm1 told(seams);
    told.Start();
    told.show();
    QVERIFY(QTest::qWaitForWindowActive(&told));
    auto* note = told.findChild<QLabel*>("Notice");
    QVERIFY(note && note->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(note->text(),
             QString::fromUtf8("文字として読めないバイト列 2 個を「\uFFFD」にしました"));
  }

  // The grid's keys with no cell being edited: the cell commands, the
  // recorded cell before the key moves the current one, and no copy of the
  // current cell by the view itself.
  void gridKeysRunTheCellCommands() {
    std::vector<std::string> copied;
    bool asked = false;
    MainSeams seams;
    seams.putOnClipboard = [&](const std::string& text) {
      copied.push_back(text);
      return true;
    };
    seams.ask = [&](const QString&) { return asked = true, false; };
    TForm1 form(seams);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    StringGrid* grid = form.grid();
    Document& doc = form.document();
    doc.grid.SetCell(3, 5, "a");
    doc.grid.SetCell(4, 5, "b");
    doc.grid.SetCell(3, 6, "c");
    doc.grid.SetSelection({3, 5, 4, 6});
    form.RefreshAll();
    grid->setFocus();

    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);  // not exactly Ctrl
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);  // the view's own copy: gone
    QVERIFY(copied.empty());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(copied, std::vector<std::string>{"a\tb\r\nc\t\r\n"});

    QTest::keyClick(grid, Qt::Key_Down);  // records the cell before the move
    QCOMPARE(doc.CurCol, 4);
    QCOMPARE(doc.CurRow, 6);
    QTest::keyClick(grid, Qt::Key_Up);

    QGuiApplication::clipboard()->setText("x\ty");
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);  // at the current cell
    QCOMPARE(doc.grid.Cell(doc.CurCol, doc.CurRow), std::string("x"));
    QCOMPARE(doc.grid.Cell(doc.CurCol + 1, doc.CurRow), std::string("y"));

    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(doc.grid.Selection(), (GridSelection{2, 1, 36, 256}));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ShiftModifier);  // the whole area: asked, No
    QVERIFY(asked);
    QCOMPARE(doc.grid.Cell(3, 6), std::string("c"));
    doc.grid.SetSelection({3, 6, 3, 6});
    form.RefreshAll();
    QTest::keyClick(grid, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(doc.grid.Cell(3, 6), std::string());
  }

  // While a cell is being edited, the cell menu's commands act on its text.
  void cellCommandsActOnAnOpenEditor() {
    MainSeams seams;
    seams.putOnClipboard = [](const std::string&) { return true; };
    TForm1 form(seams);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    StringGrid* grid = form.grid();
    form.document().grid.SetCell(2, 2, "keep");
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_H);
    auto* editor = grid->OpenEditor();
    QVERIFY(editor);
    QTest::keyClicks(editor, "ello");
    editor->selectAll();
    form.Menus().PopupMenu1->findChild<QAction*>("N2")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("hello"));
    form.Menus().PopupMenu1->findChild<QAction*>("N94")->trigger();
    QCOMPARE(editor->text(), QString());
    QCOMPARE(form.document().grid.Cell(2, 2), std::string("keep"));
  }

  // Every command item of the three menus is enabled and does its work:
  // each fixed-text item inserts its own caption, the dates use the
  // injected day, the nine alignment items and the numbering reach the
  // rules.
  void everyMenuItemReachesItsCommand() {
    MainSeams seams;
    seams.today = [] { return CivilDate{2019, 5, 1}; };
    TForm1 form(seams);
    Document& doc = form.document();
    const PopupMenus& menus = form.Menus();
    const auto item = [&](QMenu* menu, const char* name) {
      QAction* a = menu->findChild<QAction*>(QString::fromLatin1(name));
      if (!a) qFatal("no item %s", name);
      return a;
    };
    for (QMenu* menu : {menus.PopupMenu1, menus.PopupMenu2, menus.PopupMenu3}) {
      for (QAction* a : menu->findChildren<QAction*>()) {
        QVERIFY2(a->isEnabled() || a->isSeparator(), qPrintable(a->objectName()));
      }
    }
    const QList<QAction*> fixed = menus.PopupMenu1->findChildren<QAction*>("N62");
    QCOMPARE(fixed.size(), 97);
    for (QAction* a : fixed) {
      doc.CurCol = 5;
      doc.CurRow = 3;
      a->trigger();
      QCOMPARE(doc.grid.Cell(5, 3), InsideFromQString(a->text()));
      QCOMPARE(doc.CurRow, 0);
    }
    doc.CurRow = 3;
    item(menus.PopupMenu1, "GGMMDD1")->trigger();
    QCOMPARE(Utf8(doc.grid.Cell(5, 3)), std::string("令和01年05月01日"));

    const struct {
      QMenu* menu;
      const char* name;
      const char* aligned;
    } aligns[] = {
        {menus.PopupMenu1, "N102", "  ab"}, {menus.PopupMenu1, "N100", "ab"},
        {menus.PopupMenu1, "N101", " ab"},  {menus.PopupMenu2, "N93", "  ab"},
        {menus.PopupMenu2, "N91", "ab"},    {menus.PopupMenu2, "N92", " ab"},
        {menus.PopupMenu3, "N106", "  ab"}, {menus.PopupMenu3, "N104", "ab"},
        {menus.PopupMenu3, "N105", " ab"},
    };
    doc.grid.SetColWidth(7, 29);
    doc.grid.SetCell(7, 2, "ab");
    doc.grid.SetSelection({7, 2, 7, 2});
    for (const auto& a : aligns) {
      item(a.menu, a.name)->trigger();
      QCOMPARE(doc.grid.Cell(7, 2), std::string(a.aligned));
    }

    doc.CurCol = 8;
    doc.CurRow = 2;
    item(menus.PopupMenu1, "N97")->trigger();
    QCOMPARE(doc.grid.Cell(8, 3), std::string("2"));
    item(menus.PopupMenu1, "N98")->trigger();
    QCOMPARE(doc.grid.Cell(8, 2), std::string("1"));
    QCOMPARE(doc.grid.Cell(2, 2), std::string());  // left of the start
  }

  // A cell of megabytes: a paint converts only what the grid can show, in
  // whole characters, while the cell editor gets the whole text.
  void hugeCellPaintsOnlyItsVisiblePart() {
    std::string big = "a";
    for (int i = 0; i < 1'000'000; ++i) big += Sj("あ");
    for (const int width : {17, 600, 6'000'000}) {
      const std::string_view part = VisiblePart(big, width);
      QVERIFY(Columns(part) >= std::min(width, 600) / 6);
      QVERIFY(Columns(part) <= 2048 / 6 + 3);
      QCOMPARE((part.size() - 1) % 3, 0u);  // never part of "あ"
    }
    QCOMPARE(VisiblePart("ab", 6'000'000), std::string_view("ab"));
    TForm1 form;
    form.document().grid.SetCell(2, 1, big);
    form.document().grid.SetColWidth(2, 6'000'005);
    const QModelIndex cell = form.grid()->model()->index(0, 0);
    QVERIFY(cell.data(Qt::DisplayRole).toString().size() < 400);
    QCOMPARE(cell.data(Qt::EditRole).toString().size(), 1'000'001);
  }

  // With the editor hidden, Ctrl+Z undoes a command, a cell edit or a
  // gesture, and Ctrl+Y or Ctrl+Shift+Z redoes it; in an open editor the
  // keys are the editor's own and the grid's history waits.
  void undoAndRedoKeysReachTheHistory() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    StringGrid* grid = form.grid();
    const Document& doc = form.document();
    form.document().grid.SetCell(3, 2, "a");
    form.RefreshAll();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 1));  // cell (3, 2)
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(doc.grid.Cell(3, 2), std::string());
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc.grid.Cell(3, 2), std::string("a"));
    QCOMPARE(doc.grid.Selection(), (GridSelection{3, 2, 3, 2}));
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(doc.grid.Cell(3, 2), std::string());
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(doc.grid.Cell(3, 2), std::string());

    QTest::keyClick(grid, Qt::Key_Q);  // opens the editor on (3, 2)
    QLineEdit* editor = grid->OpenEditor();
    QVERIFY(editor);
    QTest::keyClicks(editor, "rs");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(editor->text() != QString("qrs"));  // the editor's own undo
    QCOMPARE(doc.grid.Cell(3, 2), std::string());
    QTest::keyClicks(editor, "t");
    const std::string typed = InsideFromQString(editor->text());
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(doc.grid.Cell(3, 2), typed);
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc.grid.Cell(3, 2), std::string());

    // A double-click on the corner renews the headings: one step.
    form.document().grid.SetCell(4, 0, "price");
    auto* corner = grid->findChild<QAbstractButton*>();
    QTest::mouseClick(corner, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPoint(5, 5),
                            corner->mapToGlobal(QPoint(5, 5)), Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(corner, &doubleClick);
    QTest::mouseRelease(corner, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(doc.grid.Cell(4, 0), std::string("c"));
    QTest::qWait(10);  // the release's step ends on the next turn of the event loop
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc.grid.Cell(4, 0), std::string("price"));
  }

  // A clipboard text larger than a file the preview loads: the grid starts
  // empty and the user gets the file's message, once the window is up.
  void clipboardOverTheLoadLimitGetsTheFileMessage() {
    QGuiApplication::clipboard()->setText(QString(17 << 20, 'x') + "\ty\nz\tw\n");
    QStringList warned;
    MainSeams seams;
    seams.warn = [&](const QString& text) { warned << text; };
    TForm1 form(seams);
    form.Start();
    QTRY_COMPARE(warned, QStringList{QString::fromUtf8("文字列の大きさがメモの制限を越えました.")});
    QCOMPARE(form.document().grid.Cell(3, 2), std::string());
  }

  void gridDrawsTextInsideItsColumns() {
    // One column is 6 px: a 17 px column holds two characters, and the grid
    // line after it stays where the document's width puts it.
    QGuiApplication::clipboard()->setText("ab\tcd\r\nx\ty\r\n");
    TForm1 form;
    form.Start();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    StringGrid* grid = form.grid();
    const QImage image = grid->viewport()->grab().toImage();
    const int y = grid->rowViewportPosition(1) + 8;  // row 2: "x", "y", not selected
    const QColor background = image.pixelColor(12, y);
    const QColor line = image.pixelColor(17, y);  // the line after a 17 px column
    QVERIFY(line != background);
    QCOMPARE(image.pixelColor(35, y), line);
    for (int x = 18; x < 35; ++x) QVERIFY(image.pixelColor(x, y) != line);
    // "x" is drawn from 2 px in and is one 6 px character wide.
    auto inkAt = [&](int x) {
      for (int dy = -5; dy <= 5; ++dy) {
        if (image.pixelColor(x, y + dy).lightness() < 100) return true;
      }
      return false;
    };
    bool ink = false;
    for (int x = 2; x < 8; ++x) ink |= inkAt(x);
    QVERIFY(ink);
    for (int x = 8; x < 17; ++x) QVERIFY(!inkAt(x));
  }

  // A cell holding clusters the fonts draw at other widths than their
  // columns (an emoji or Hangul from another font, a flag drawn as two
  // letters) is drawn a piece at a time: what follows them stands at 2 px +
  // 6 px × its column, on the baseline of plain text.
  void cellTextStandsOnItsColumnsWhateverTheFonts() {
    const auto draw = [](const char* text) {
      QImage image(90, 18, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      DrawCellText(&painter, image.rect(), GridFont(), Qt::black, QString::fromUtf8(text));
      return image.copy(56, 0, 34, 18);  // from column 9 on
    };
    QCOMPARE(draw("✅😀🇯🇵한  |x"), draw("          |x"));
  }
};

QTEST_MAIN(Unit1Test)
#include "unit1_test.moc"
