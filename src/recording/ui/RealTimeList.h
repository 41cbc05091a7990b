#pragma once

#include <QTableView>

#include "ListModels.h"
#include "ListWindow.h"
#include "recording/logic/FileTransfer.h"

namespace solardesk {

// The live list of the samples taken on the PC: number, date-time and value columns that
// scroll together under their header row, following the newest row once more than 16 are
// listed. Toolbar: "Save", "Print" and "Print Preview".
class RealTimeList final : public ListWindow, public LiveList {
  Q_OBJECT
 public:
  // Builds the header row from `listUnit`.
  RealTimeList(const QString& listUnit, QWidget* parent);

  static const QString kCaption;  // "Real Time List"

  QTableView* GridN = nullptr;

  LineStore& Rows() override { return rows_; }
  void RowsChanged() override { model_->Sync(); }
  void FollowNewest() override;
  void Close() override { close(); }

  QString Caption() const override { return ListWindow::Caption(); }
  void SetCaption(const QString& text) override { ListWindow::SetCaption(text); }
  void SetBusy(bool busy) override { ListWindow::SetBusy(busy); }
  void LetEventsRun() override { ListWindow::LetEventsRun(); }

 private:
  LineStore rows_;
  LiveRowsModel* model_ = nullptr;
};

}  // namespace solardesk
