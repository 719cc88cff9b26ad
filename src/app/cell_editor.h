// Cells drawn and edited in place: the delegate paints a cell's text as the
// headings are painted and opens the grid's own line editor on it.
#pragma once

#include <QElapsedTimer>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>

namespace tabulon {

// Draws cell text from 2 px in, never elided: a column of 6n+5 px shows
// exactly n display columns of text in the grid font.
class CellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override;
};

// The in-place cell editor: a plain line edit that keeps to its cell and
// scrolls its text inside it, except while an input method composes, when it
// widens over the next cells so that the whole composition can be read.
class CellEditor : public QLineEdit {
  Q_OBJECT
 public:
  explicit CellEditor(QWidget* parent);
  // The cell it edits, in its parent's coordinates.
  void SetCell(const QRect& cell);

 protected:
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  void Fit();
  QRect cell_;
  QString composing_;
  // The last composition committed, and when: ibus may commit it once more.
  QString committed_;
  QElapsedTimer committedAt_;
};

}  // namespace tabulon
