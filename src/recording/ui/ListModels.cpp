#include "ListModels.h"

#include "recording/logic/DataFileFormat.h"

namespace solardesk {

LineListModel::LineListModel(const LineStore& lines, QObject* parent)
    : StoreModel(parent), lines_(lines) {
  shown_ = lines.count();
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || index.row() >= shown_) return {};
  return AlignedLine(lines_.line(index.row()));
}

LiveRowsModel::LiveRowsModel(const LineStore& rows, QObject* parent)
    : StoreModel(parent), rows_(rows) {
  shown_ = std::max(0, rows.count() - 1);
}

int LiveRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 3;
}

QVariant LiveRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || index.row() >= shown_) return {};
  return QString::fromLatin1(TabField(rows_.bytes(index.row() + 1), index.column()));
}

QVariant LiveRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return QString::fromLatin1(TabField(rows_.bytes(0), section));
}

}  // namespace solardesk
