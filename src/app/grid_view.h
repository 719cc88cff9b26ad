// StringGrid1: the grid view over the grid document. The model shows data
// columns 2 to 36 and rows 1 to 256; the heading row and the row headings are
// the view's headers, the corner button shows the corner cell. The document
// stays the only source of truth: widths, moves and edits are written back.
#pragma once

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

#include "document/document.h"

namespace tabulon {

class GridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit GridModel(Document& doc, QObject* parent = nullptr);

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

 private:
  Document& doc_;
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
};

// Heading row and row headings, drawn as the cells are.
class HeadingView : public QHeaderView {
  Q_OBJECT
 public:
  using QHeaderView::QHeaderView;
  // The grid fixes the headers' thickness; measuring 256 headings for a
  // size hint would only cost start-up time.
  QSize sizeHint() const override { return size(); }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

class StringGrid : public QTableView {
  Q_OBJECT
 public:
  StringGrid(Document& doc, QWidget* parent = nullptr);

  GridModel* Model() const { return model_; }
  // Re-reads every cell, heading, width, the selection and the scroll place
  // from the document. The owner calls it once the document is filled.
  void Refresh();

 signals:
  void contextMenuForCell(int col, int row, const QPoint& globalPos);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  void SyncSizes();
  void ColumnResized(int logical, int oldSize, int newSize);
  void SectionMoved(QHeaderView* header, int oldVisual, int newVisual);
  bool CornerBorderDrag(QAbstractButton* corner, QEvent* event);

  Document& doc_;
  GridModel* model_;
  bool syncing_ = false;     // the view is being set from the document
  bool cornerDrag_ = false;  // column 1's border is being dragged
  int dragFrom_ = 0;         // where the drag began, and column 1's width then
  int dragWidth_ = 0;
};

}  // namespace tabulon
