#include "app/grid_view.h"

#include <QApplication>
#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <optional>
#include <utility>

#include "app/cell_editor.h"
#include "app/grid_paint.h"
#include "app/heading_view.h"
#include "editing/keys.h"
#include "widgets/grid_font.h"
#include "widgets/widgets.h"

namespace tabulon {

namespace {

// The document's widths and heights leave out the 1 px grid line that the
// view draws inside each section.
constexpr int kGridLine = 1;
constexpr int kRowHeight = 16;
constexpr int kBorderGrip = 3;  // pixels left of the corner's border that grip it

}  // namespace

StringGrid::StringGrid(GridSession& session, QWidget* parent)
    : QTableView(parent),
      session_(session),
      doc_(session.document()),
      model_(new GridModel(session, this)) {
  setFont(GridFont());
  const auto forward = [this](QEvent* event, QWidget* source) { return GridEvent(event, source); };
  setHorizontalHeader(new HeadingView(Qt::Horizontal, forward, this));
  setVerticalHeader(new HeadingView(Qt::Vertical, forward, this));
  setModel(model_);
  setItemDelegate(new CellDelegate(this));
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabKeyNavigation(false);          // Tab leaves the grid for the next control
  viewport()->setMouseTracking(true);  // hints follow the pointer

  // The heading row and the row headings: moved by dragging; only columns
  // are sized by dragging their borders. What a press selects is the editing
  // rules' choice, not the view's.
  QHeaderView* columns = horizontalHeader();
  QHeaderView* rows = verticalHeader();
  for (QHeaderView* header : {columns, rows}) {
    header->setFont(font());
    header->setMinimumSectionSize(1);
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setMouseTracking(true);
    connect(header, &QHeaderView::sectionMoved, this,
            [this, header](int, int from, int to) { SectionMoved(header, from, to); });
  }
  disconnect(columns, &QHeaderView::sectionPressed, this, nullptr);
  disconnect(columns, &QHeaderView::sectionEntered, this, nullptr);
  disconnect(rows, &QHeaderView::sectionPressed, this, nullptr);
  disconnect(rows, &QHeaderView::sectionEntered, this, nullptr);
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setFixedHeight(kRowHeight + kGridLine);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(kRowHeight + kGridLine);

  if (auto* corner = findChild<QAbstractButton*>()) {
    corner->installEventFilter(this);
    corner->setMouseTracking(true);  // for the sizing cursor at its border
  }

  // A double-click on a border is the grid's double-click, not a fit to the
  // headings and cells: widths are the document's.
  disconnect(columns, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
  connect(columns, &QHeaderView::sectionResized, this, &StringGrid::ColumnResized);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (syncing_) return;
    const QModelIndex current = currentIndex();
    const QItemSelection selection = selectionModel()->selection();
    if (!current.isValid() || selection.isEmpty()) return;
    const QItemSelectionRange& r = selection.first();
    session_.SelectBlock({r.left() + kFirstDataCol, r.top() + kFirstDataRow,
                          r.right() + kFirstDataCol, r.bottom() + kFirstDataRow},
                         {GridModel::ColOf(current), GridModel::RowOf(current)});
  });
}

void StringGrid::Refresh() {
  setUpdatesEnabled(false);
  ShowChanges();
  verticalScrollBar()->setValue(doc_.grid.TopRow() - kFirstDataRow);
  horizontalScrollBar()->setValue(doc_.grid.LeftCol() - kFirstDataCol);
  setUpdatesEnabled(true);
}

void StringGrid::ShowSelection() {
  const GridSelection& s = doc_.grid.Selection();
  const QModelIndex current = model_->index(s.row - kFirstDataRow, s.col - kFirstDataCol);
  const QModelIndex anchor =
      model_->index(s.anchorRow - kFirstDataRow, s.anchorCol - kFirstDataCol);
  if (!current.isValid() || !anchor.isValid()) return;
  // A whole column's block ends in row 256: the view stays where it is.
  syncing_ = true;
  setAutoScroll(false);
  selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
  selectionModel()->select(QItemSelection(anchor, current), QItemSelectionModel::ClearAndSelect);
  setAutoScroll(true);
  syncing_ = false;
}

void StringGrid::ShowChanges() {
  model_->DocumentChanged();
  SyncSizes();
  ShowSelection();
}

GridCell StringGrid::CellAt(const QPoint& point) const {
  const QRect cells = viewport()->geometry();
  const int left = verticalHeader()->geometry().left();
  const int top = horizontalHeader()->geometry().top();
  int col = -1, row = -1;
  if (point.x() < left) {
    col = 0;
  } else if (point.x() < cells.left()) {
    col = 1;
  } else if (point.x() <= cells.right()) {
    const int c = columnAt(point.x() - cells.left());
    col = c < 0 ? -1 : c + kFirstDataCol;
  }
  if (point.y() < top) {
    row = 0;
  } else if (point.y() < cells.top()) {
    row = 0;
  } else if (point.y() <= cells.bottom()) {
    const int r = rowAt(point.y() - cells.top());
    row = r < 0 ? -1 : r + kFirstDataRow;
  }
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

namespace {

// The modifier keys of a key or mouse event as a shift state.
ShiftState ModifiersOf(const QInputEvent* event) {
  ShiftState shift = 0;
  const Qt::KeyboardModifiers keys = event->modifiers();
  if (keys & Qt::ShiftModifier) shift |= kShift;
  if (keys & Qt::AltModifier) shift |= kAlt;
  if (keys & Qt::ControlModifier) shift |= kCtrl;
  return shift;
}

ShiftState ShiftOf(const QMouseEvent* event) {
  ShiftState shift = ModifiersOf(event);
  const Qt::MouseButtons buttons = event->buttons();
  if (buttons & Qt::LeftButton) shift |= kLeftButton;
  if (buttons & Qt::RightButton) shift |= kRightButton;
  if (buttons & Qt::MiddleButton) shift |= kMiddleButton;
  if (event->type() == QEvent::MouseButtonDblClick) shift |= kDoubleClick;
  return shift;
}

}  // namespace

void StringGrid::MouseStep(QEvent::Type type) {
  if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && !mouseStep_) {
    mouseStep_ = true;
    session_.BeginGesture();
  } else if (type == QEvent::MouseButtonRelease && mouseStep_) {
    // After the header's own release, which moves a dragged section.
    QTimer::singleShot(0, this, [this] {
      if (!mouseStep_) return;
      mouseStep_ = false;
      session_.EndGesture();
    });
  }
}

bool StringGrid::GridEvent(QEvent* event, QWidget* source) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString hint =
        QString::fromUtf8(GridHint(CellAt(source->mapTo(this, help->pos())))).replace("\r\n", "\n");
    if (hint.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), hint, source);
    }
    return true;
  }
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseButtonRelease && type != QEvent::MouseMove) {
    return false;
  }
  MouseStep(type);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint point = source->mapTo(this, mouse->position().toPoint());
  const GridCell cell = CellAt(point);
  const ShiftState shift = ShiftOf(mouse);
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
    CommitEditor();
    setFocus(Qt::MouseFocusReason);
    const Outcome outcome = session_.Press(cell, shift, type == QEvent::MouseButtonDblClick);
    if (outcome.repaint == Outcome::Repaint::Cells) {
      ShowChanges();
    } else {
      ShowSelection();
    }
    if (outcome.editor == Outcome::EditorAction::Open) edit(currentIndex());
  } else if (type == QEvent::MouseButtonRelease) {
    // From the grid's left edge, as if no column were scrolled out of view.
    const int x = point.x() - verticalHeader()->geometry().left() + horizontalHeader()->offset();
    const bool right = mouse->button() == Qt::RightButton;
    const GridMenu menu = session_.Release(cell, x, right);
    SyncSizes();
    viewport()->update();
    if (menu != GridMenu::None) emit menuRequested(menu, mouse->globalPosition().toPoint());
  } else if (shift == kLeftButton) {
    if (session_.MouseMove(cell, shift)) ShowSelection();
  } else if (session_.Hover(cell)) {
    QToolTip::hideText();  // the new cell's hint comes after the usual delay
  }
  return true;
}

QLineEdit* StringGrid::OpenEditor() const {
  CellEditor* editor = Editor();
  return editor && editor->hasFocus() ? editor : nullptr;
}

CellEditor* StringGrid::Editor() const {
  if (state() != QAbstractItemView::EditingState) return nullptr;
  // An editor that has been closed is hidden until it is deleted.
  for (auto* editor : viewport()->findChildren<CellEditor*>(Qt::FindDirectChildrenOnly)) {
    if (editor->isVisible()) return editor;
  }
  return nullptr;
}

// A press anywhere on the grid first ends the cell being edited, keeping
// what was typed.
void StringGrid::CommitEditor() {
  if (QLineEdit* editor = OpenEditor()) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  const QModelIndex current = currentIndex();
  const GridCell cell = current.isValid()
                            ? GridCell{GridModel::ColOf(current), GridModel::RowOf(current)}
                            : GridCell{doc_.CurCol, doc_.CurRow};
  static constexpr std::pair<int, GridKey> kKeys[] = {{Qt::Key_A, GridKey::A},
                                                      {Qt::Key_C, GridKey::C},
                                                      {Qt::Key_D, GridKey::D},
                                                      {Qt::Key_V, GridKey::V},
                                                      {Qt::Key_Y, GridKey::Y},
                                                      {Qt::Key_Z, GridKey::Z},
                                                      {Qt::Key_Delete, GridKey::Delete},
                                                      {Qt::Key_Shift, GridKey::Modifier},
                                                      {Qt::Key_Control, GridKey::Modifier},
                                                      {Qt::Key_Alt, GridKey::Modifier},
                                                      {Qt::Key_AltGr, GridKey::Modifier},
                                                      {Qt::Key_Meta, GridKey::Modifier}};
  GridKey key = GridKey::Other;
  for (const auto& [qt, grid] : kKeys) {
    if (event->key() == qt) key = grid;
  }
  if (const std::optional<GridCommand> command = session_.KeyDown(cell, key, ModifiersOf(event))) {
    event->accept();
    emit keyCommand(*command);
    return;
  }
  // The view's own copy of the current cell gives way to the cell commands.
  if (event->matches(QKeySequence::Copy)) return event->accept();
  QTableView::keyPressEvent(event);
}

// An input method talks to the grid until its first composition in a cell
// ends; the view opens the editor with it and hands it the text.
void StringGrid::inputMethodEvent(QInputMethodEvent* event) {
  // Moving the focus to the editor makes the toolkit commit the composition
  // once more, to the grid: that text is in the editor already.
  if (inInputMethod_) return;
  const QScopedValueRollback<bool> handling(inInputMethod_, true);
  CellEditor* editor = Editor();
  if (editor && editor->hasFocus()) {
    QCoreApplication::sendEvent(editor, event);
    return;
  }
  QTableView::inputMethodEvent(event);
  // Text the view could not place goes into the cell being edited.
  editor = Editor();
  if (!event->isAccepted() && editor && !event->commitString().isEmpty()) {
    event->accept();
    QCoreApplication::sendEvent(editor, event);
    editor->setFocus();
  }
}

// Whatever opens the editor, the grid first shows the cell it edits (after a
// click on a heading, the current cell is in row 256 or column 36).
bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (index.isValid() && state() != QAbstractItemView::EditingState &&
      (trigger == AllEditTriggers || (trigger & editTriggers()))) {
    scrollTo(index);
  }
  return QTableView::edit(index, trigger, event);
}

bool StringGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) return GridEvent(event, viewport());
  return QTableView::viewportEvent(event);
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
  GridEvent(event, viewport());
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
  GridEvent(event, viewport());
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
  GridEvent(event, viewport());
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  GridEvent(event, viewport());
}

void StringGrid::SyncSizes() {
  syncing_ = true;
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    horizontalHeader()->resizeSection(c - kFirstDataCol,
                                      std::max(doc_.grid.ColWidth(c), 0) + kGridLine);
  }
  verticalHeader()->setFixedWidth(std::max(doc_.grid.ColWidth(1), 0) + kGridLine);
  syncing_ = false;
}

void StringGrid::ColumnResized(int logical, int, int newSize) {
  if (!syncing_) session_.DragWidth(logical + kFirstDataCol, newSize - kGridLine);
}

// The header only changes the order it shows; the move belongs in the
// document, so the header is put back and the cells follow the document.
void StringGrid::SectionMoved(QHeaderView* header, int oldVisual, int newVisual) {
  if (syncing_) return;
  if (header == horizontalHeader()) {
    session_.MoveColumn(oldVisual + kFirstDataCol, newVisual + kFirstDataCol);
  } else {
    session_.MoveRow(oldVisual + kFirstDataRow, newVisual + kFirstDataRow);
  }
  syncing_ = true;
  header->moveSection(newVisual, oldVisual);
  syncing_ = false;
  model_->DocumentChanged();
  SyncSizes();
}

// The corner cell's right border is column 1's border in the heading row:
// dragging it sizes the row-heading column as any other border sizes its
// column. Returns whether the event was part of such a drag.
bool StringGrid::CornerBorderDrag(QAbstractButton* corner, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
    return false;
  }
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const int x = mouse->position().toPoint().x();
  const bool onBorder = x >= corner->width() - kBorderGrip;
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:  // a second press on the border drags too
      if (mouse->button() != Qt::LeftButton || !onBorder) return false;
      cornerDrag_ = true;
      MouseStep(type);
      dragFrom_ = x;
      dragWidth_ = doc_.grid.ColWidth(1);
      return true;
    case QEvent::MouseMove:
      if (!cornerDrag_) {
        corner->setCursor(onBorder ? Qt::SplitHCursor : Qt::ArrowCursor);
        return false;
      }
      session_.DragWidth(1, dragWidth_ + x - dragFrom_);
      SyncSizes();
      updateGeometries();
      return true;
    default:
      if (!cornerDrag_) return false;
      cornerDrag_ = false;
      MouseStep(type);
      return true;
  }
}

// Tab in a cell being edited keeps the text and goes on to the next control,
// as Tab does from the grid, instead of opening the next cell.
void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  const bool next = hint == QAbstractItemDelegate::EditNextItem;
  const bool previous = hint == QAbstractItemDelegate::EditPreviousItem;
  QTableView::closeEditor(editor, next || previous ? QAbstractItemDelegate::NoHint : hint);
  if (next || previous) focusNextPrevChild(next);
}

bool StringGrid::eventFilter(QObject* watched, QEvent* event) {
  auto* corner = qobject_cast<QAbstractButton*>(watched);
  if (corner && event->type() == QEvent::Paint) {
    QPainter painter(corner);
    DrawHeading(&painter, corner, corner->rect(), QStringFromInside(doc_.grid.Cell(1, 0)),
                Qt::Horizontal);
    return true;
  }
  if (corner && CornerBorderDrag(corner, event)) return true;
  // The corner's own click would select all; the editing rules do that.
  if (corner && GridEvent(event, corner)) return true;
  return QTableView::eventFilter(watched, event);
}

}  // namespace tabulon
