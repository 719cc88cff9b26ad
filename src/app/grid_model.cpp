#include "app/grid_model.h"

#include <algorithm>
#include <cstddef>

#include "app/grid_paint.h"
#include "document/text_columns.h"
#include "widgets/widgets.h"

namespace tabulon {

std::string_view VisiblePart(std::string_view text, int pixelWidth) {
  const int px = std::clamp(pixelWidth, 0, kWidestShownPx);
  return WholeCharsSpanning(text, px / kPixelsPerColumn + 2);
}

GridModel::GridModel(GridSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session), doc_(session.document()) {}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kLastRow - kFirstDataRow + 1;
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kLastCol - kFirstDataCol + 1;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  const int col = ColOf(index);
  const std::string& text = doc_.grid.Cell(col, RowOf(index));
  // The editor gets the whole text; a paint only what the column can show.
  return QStringFromInside(role == Qt::EditRole ? text
                                                : VisiblePart(text, doc_.grid.ColWidth(col)));
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  // Typed text is kept as typed.
  session_.SetCell(ColOf(index), RowOf(index),
                   InsideFromQString(value.toString()));  // a step of its own
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  const int col = orientation == Qt::Horizontal ? section + kFirstDataCol : 1;
  const int row = orientation == Qt::Horizontal ? 0 : section + kFirstDataRow;
  return QStringFromInside(VisiblePart(doc_.grid.Cell(col, row), doc_.grid.ColWidth(col)));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void GridModel::DocumentChanged() {
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

}  // namespace tabulon
