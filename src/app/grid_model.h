// The grid's table model: data columns 2 to 36 and rows 1 to 256 of the
// document, with the heading row and the row headings as header data. It
// reads the document; a committed edit goes to the session.
#pragma once

#include <QAbstractTableModel>

#include <string>
#include <string_view>
#include <utility>

#include "document/document.h"
#include "editing/grid_session.h"

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

 private:
  GridSession& session_;
  const Document& doc_;
};

}  // namespace tabulon
