// StringGrid1: the grid view over the grid document. The model shows data
// columns 2 to 36 and rows 1 to 256; the heading row and the row headings are
// the view's headers, the corner button shows the corner cell. The document
// stays the only source of truth: widths, moves and edits are written back.
#pragma once

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

#include "document/document.h"
#include "editing/editing_state.h"
#include "editing/grid_session.h"
#include "editing/keys.h"
#include "editing/mouse.h"

namespace tabulon {

// The start of a cell's text that a column `pixelWidth` wide can show, in
// whole characters, with a character to spare: a cell may hold megabytes, and
// no paint should convert or lay out more than can be seen.
std::string_view VisiblePart(std::string_view text, int pixelWidth);

class GridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // Committed edits go to the session, each a step of its own.
  explicit GridModel(GridSession& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Tells the views that any cell or heading may have changed.
  void DocumentChanged();

  static int ColOf(const QModelIndex& index) { return index.column() + kFirstDataCol; }
  static int RowOf(const QModelIndex& index) { return index.row() + kFirstDataRow; }

  // How a typed text becomes the cell's CP932 (so that the window can say
  // which characters became "?").
  void SetTypedText(std::function<std::string(const QString&)> convert) {
    typedText_ = std::move(convert);
  }

 private:
  GridSession& session_;
  const Document& doc_;
  std::function<std::string(const QString&)> typedText_;
};

// Draws cell text from 2 px in, never elided: a column of 6n+5 px shows
// exactly n bytes of text in the grid font.
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

// Heading row and row headings, drawn as the cells are. The header moves and
// sizes its sections itself; then each mouse event and tool tip request goes
// on to the grid, as the grid's own.
class HeadingView : public QHeaderView {
  Q_OBJECT
 public:
  using Forward = std::function<bool(QEvent*, QWidget*)>;
  HeadingView(Qt::Orientation orientation, Forward forward, QWidget* parent)
      : QHeaderView(orientation, parent), forward_(std::move(forward)) {}
  // The grid fixes the headers' thickness; measuring 256 headings for a
  // size hint would only cost start-up time.
  QSize sizeHint() const override { return size(); }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  Forward forward_;
};

// The grid. Every mouse event on its cells, its headings and its corner goes
// to the session with the cell the grid's hit test gives; the view then shows
// what the session left in the document. A press and its release are one
// step of the session's history, and so is each committed edit.
class StringGrid : public QTableView {
  Q_OBJECT
 public:
  explicit StringGrid(GridSession& session, QWidget* parent = nullptr);

  GridModel* Model() const { return model_; }
  using QTableView::edit;
  // Re-reads every cell, heading, width, the selection and the scroll place
  // from the document. The owner calls it once the document is filled.
  void Refresh();
  // The same, but the view stays where the user has scrolled it: after an
  // edit of the grid.
  void ShowChanges();

  // The grid's hit test for a point in this widget: a cell; (-1, -1) right
  // of the last column or below the last row; column 0 or row 0 left of or
  // above the grid (where only a held button reports a point).
  GridCell CellAt(const QPoint& point) const;

  // The in-place cell editor while a cell is being edited and the editor has
  // the focus; otherwise null.
  QLineEdit* OpenEditor() const;

 signals:
  // The chosen popup menu, to open at `globalPos` (the right release).
  void menuRequested(GridMenu menu, const QPoint& globalPos);
  // A key that runs a cell command (no cell being edited).
  void keyCommand(tabulon::GridCommand command);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  // The grid has no type-ahead search: typed or committed text never moves
  // the current cell.
  void keyboardSearch(const QString&) override {}

 private:
  // One mouse event or tool tip request from the cells, a header or the
  // corner; false when it is not one the grid handles.
  bool GridEvent(QEvent* event, QWidget* source);
  void ShowSelection();
  void CommitEditor();
  void SyncSizes();
  void ColumnResized(int logical, int oldSize, int newSize);
  void SectionMoved(QHeaderView* header, int oldVisual, int newVisual);
  // A press on the grid begins a step of the session's history that its
  // release ends once the headers have moved or sized their sections.
  void MouseStep(QEvent::Type type);
  bool CornerBorderDrag(QAbstractButton* corner, QEvent* event);
  // The open cell editor, focused or still waiting for the input method's
  // first composition to end; otherwise null.
  CellEditor* Editor() const;

  GridSession& session_;
  Document& doc_;
  tabulon::GridEditState& editing_;
  GridModel* model_;
  bool mouseStep_ = false;      // a press has begun a step its release ends
  bool syncing_ = false;        // the view is being set from the document
  bool cornerDrag_ = false;     // column 1's border is being dragged
  bool inInputMethod_ = false;  // an input method's event is being handled
  int dragFrom_ = 0;            // where the drag began, and column 1's width then
  int dragWidth_ = 0;
};

}  // namespace tabulon
