#pragma once

#include <QAbstractListModel>
#include <QAbstractTableModel>

#include "data/LineStore.h"

namespace solardesk {

// A model over a LineStore that learns of appended or cut lines through SyncRows().
template <typename Base>
class StoreModel : public Base {
 public:
  using Base::Base;
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : shown_;
  }

 protected:
  void SyncRows(int now) {
    if (now > shown_) {
      this->beginInsertRows({}, shown_, now - 1);
      shown_ = now;
      this->endInsertRows();
    } else if (now < shown_) {
      this->beginRemoveRows({}, now, shown_ - 1);
      shown_ = now;
      this->endRemoveRows();
    }
  }
  int shown_ = 0;
};

// A list box over the lines of a LineStore, each shown in the columns of its header.
class LineListModel : public StoreModel<QAbstractListModel> {
 public:
  explicit LineListModel(const LineStore& lines, QObject* parent = nullptr);
  QVariant data(const QModelIndex& index, int role) const override;
  void Sync() { SyncRows(lines_.count()); }

 private:
  const LineStore& lines_;
};

// The live list's three columns over rows in list form: row 0 of the store is the header,
// every other row one sample.
class LiveRowsModel : public StoreModel<QAbstractTableModel> {
 public:
  explicit LiveRowsModel(const LineStore& rows, QObject* parent = nullptr);
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void Sync() { SyncRows(std::max(0, rows_.count() - 1)); }

 private:
  const LineStore& rows_;
};

}  // namespace solardesk
