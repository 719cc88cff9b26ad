#include "app/cell_editor.h"

#include <QApplication>
#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "app/grid_paint.h"

namespace tabulon {

namespace {

constexpr int kCaretRoom = 8;  // the line edit's own margins and its caret
// A composing editor measures its text up to this length; a longer one takes
// all the room there is.
constexpr int kMeasuredChars = 512;
// How late an input method's second commit of a composition may come: one
// round trip through its daemon, with a busy machine's margin.
constexpr qint64 kCommitEchoMs = 1000;

}  // namespace

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
  QStyleOptionViewItem opt(option);
  initStyleOption(&opt, index);
  // The style may draw a cell's background through an image of its size too.
  opt.rect.setWidth(std::min(opt.rect.width(), kWidestShownPx));
  const QString text = opt.text;
  opt.text.clear();
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
  const bool selected = opt.state & QStyle::State_Selected;
  DrawCellText(painter, opt.rect, opt.font,
               opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text), text);
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex&) const {
  return new CellEditor(parent);
}

void CellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
  QStyledItemDelegate::updateEditorGeometry(editor, option, index);
  if (auto* cell = qobject_cast<CellEditor*>(editor)) cell->SetCell(editor->geometry());
}

// Return ends the cell at once. The toolkit's delegate ends it on a later
// turn of the event loop, so keys that came right after Return still reached
// the editor: an arrow moved its caret instead of the current cell, and the
// next text then replaced the cell just typed.
bool CellDelegate::eventFilter(QObject* editor, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    auto* widget = qobject_cast<QWidget*>(editor);
    if (widget && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      emit commitData(widget);
      emit closeEditor(widget, QAbstractItemDelegate::SubmitModelCache);
      return true;
    }
  }
  return QStyledItemDelegate::eventFilter(editor, event);
}

// The toolkit's own editor grows over the next cells as the text does; this
// one only while a composition lasts.
CellEditor::CellEditor(QWidget* parent) : QLineEdit(parent) {
  setFrame(false);
  setTextMargins(kTextIndent - 1, 0, 0, 0);
}

void CellEditor::SetCell(const QRect& cell) {
  cell_ = cell;
  Fit();
}

void CellEditor::inputMethodEvent(QInputMethodEvent* event) {
  // When the focus comes here as a composition is committed, ibus's reset of
  // the input context can cross its engine's end of the composition, and the
  // daemon commits the composition a second time: the same text at once, with
  // no new composition between. Typing cannot give that, so it is dropped.
  const QString commit = event->commitString();
  const bool echo = !commit.isEmpty() && commit == committed_ && composing_.isEmpty() &&
                    event->preeditString().isEmpty() && committedAt_.isValid() &&
                    committedAt_.elapsed() < kCommitEchoMs && text().endsWith(commit);
  if (echo) {
    committed_.clear();
    return event->accept();
  }
  if (!commit.isEmpty()) {
    committed_ = composing_.isEmpty() ? QString() : commit;
    committedAt_.start();
  } else if (!event->preeditString().isEmpty()) {
    committed_.clear();
  }
  QLineEdit::inputMethodEvent(event);
  composing_ = event->preeditString();
  Fit();
}

// The cell, or while composing, as wide as the text and the composition
// need, up to the grid's right edge.
void CellEditor::Fit() {
  QRect rect = cell_;
  if (!composing_.isEmpty() && parentWidget()) {
    const int room = parentWidget()->width() - rect.left();
    const QString shown = text() + composing_;
    const int wanted = shown.size() > kMeasuredChars ? room
                                                     : fontMetrics().horizontalAdvance(shown) +
                                                           textMargins().left() + kCaretRoom;
    rect.setWidth(std::max(rect.width(), std::min(wanted, room)));
    raise();
  }
  if (geometry() != rect) setGeometry(rect);
}

}  // namespace tabulon
