// StringGrid1: the grid view over the grid document. The model (GridModel)
// shows data columns 2 to 36 and rows 1 to 256; the heading row and the row
// headings are the view's headers (HeadingView), the corner button shows the
// corner cell, the delegate paints and edits the cells (CellDelegate). The
// document stays the only source of truth, and the session the only way to
// change it: edits, the selection, dragged widths and moved headings go
// through it; the view then shows what the session left in the document.
#pragma once

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

#include "app/grid_model.h"
#include "document/document.h"
#include "editing/grid_command.h"
#include "editing/grid_session.h"
#include "editing/mouse.h"

namespace tabulon {

class CellEditor;

// The grid. Every mouse event on its cells, its headings and its corner goes
// to the session with the cell the grid's hit test gives, and so do the
// widths, moves and selections the headers and the view make; the view then
// shows what the session left in the document. A press and its release are
// one step of the session's history, and so is each committed edit.
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
  const Document& doc_;  // read only: every change goes through session_
  GridModel* model_;
  bool mouseStep_ = false;      // a press has begun a step its release ends
  bool syncing_ = false;        // the view is being set from the document
  bool cornerDrag_ = false;     // column 1's border is being dragged
  bool inInputMethod_ = false;  // an input method's event is being handled
  int dragFrom_ = 0;            // where the drag began, and column 1's width then
  int dragWidth_ = 0;
};

}  // namespace tabulon
