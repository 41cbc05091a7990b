#pragma once

#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <functional>

#include "analysis/SeriesStatistics.h"

namespace solardesk {

class Dialogs;

// The statistics of a list: the figures above the daily table. "Copy" (and Ctrl+C) puts both on
// the clipboard as tab-separated text, ready for a spreadsheet; "Export CSV" saves the daily
// table as a CSV file.
class StatisticsWindow final : public QWidget {
  Q_OBJECT
 public:
  // `listCaption` names the list the figures come from; `folder` is where the save dialog opens.
  StatisticsWindow(SeriesStatistics statistics, const QString& listCaption, Dialogs& dialogs,
                   QString folder, QWidget* parent);

  static const QString kCaption;  // "Statistics"

  const SeriesStatistics& statistics() const { return statistics_; }

  QTableWidget* GridFigures = nullptr;
  QTableWidget* GridDays = nullptr;
  QPushButton* CmdCopy = nullptr;
  QPushButton* CmdExport = nullptr;

  void CmdCopyClick();
  void CmdExportClick();

 private:
  SeriesStatistics statistics_;
  Dialogs& dialogs_;
  QString folder_;
};

// Creates `path` and has `write` fill it; when that fails, says so in a message box and returns
// false.
bool WriteExportFile(Dialogs& dialogs, const QString& path,
                     const std::function<bool(QIODevice& file)>& write);

}  // namespace solardesk
