#pragma once

#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <functional>

#include "analysis/ReadingSeries.h"
#include "analysis/SeriesStatistics.h"

namespace solardesk {

class Dialogs;

// The statistics of a list: the figures above the daily table. With a site kept, the figures end
// with the clear-sky energy and index; "Site..." sets the site and brings them up to date. "Copy"
// (and Ctrl+C) puts figures and table on the clipboard as tab-separated text, ready for a
// spreadsheet; "Export CSV" saves the daily table as a CSV file.
class StatisticsWindow final : public QWidget {
  Q_OBJECT
 public:
  // `statistics` are those of `series`; `listCaption` names the list they come from; `folder` is
  // where the save dialog opens.
  StatisticsWindow(SeriesStatistics statistics, ReadingSeries series, const QString& listCaption,
                   Dialogs& dialogs, QString folder, QWidget* parent);

  static const QString kCaption;  // "Statistics"

  const SeriesStatistics& statistics() const { return statistics_; }

  QTableWidget* GridFigures = nullptr;
  QTableWidget* GridDays = nullptr;
  QPushButton* CmdCopy = nullptr;
  QPushButton* CmdExport = nullptr;
  QPushButton* CmdSite = nullptr;

  void CmdCopyClick();
  void CmdExportClick();
  void CmdSiteClick();

 private:
  // The clear-sky figures for the site kept, if any, and the figures grid filled.
  void ShowFigures();

  SeriesStatistics statistics_;
  ReadingSeries series_;
  Dialogs& dialogs_;
  QString folder_;
};

// Creates `path` and has `write` fill it; when that fails, says so in a message box and returns
// false.
bool WriteExportFile(Dialogs& dialogs, const QString& path,
                     const std::function<bool(QIODevice& file)>& write);

}  // namespace solardesk
