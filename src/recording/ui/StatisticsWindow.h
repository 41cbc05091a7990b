#pragma once

#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <functional>

#include "analysis/ReadingSeries.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"
#include "core/Dialogs.h"

namespace solardesk {

// The statistics of a list: the figures above the daily table and the monthly one. With a site
// kept, the figures end with the clear-sky energy, index and completeness, and the tables have
// them date by date and month by month;
// "Site..." sets the site, "Sensor..." the sensor's orientation, each bringing them up to date.
// "Copy" (and Ctrl+C) puts figures and tables on the clipboard as tab-separated text, ready for a
// spreadsheet; "Export CSV" saves the daily table as a CSV file; "Report..." saves the site
// report (report/SiteReport.h) as a PDF file on the desktop's paper.
class StatisticsWindow final : public QWidget {
  Q_OBJECT
 public:
  // `statistics` are those of `series`; `listCaption` names the list they come from; `folder` is
  // where the save dialog opens.
  StatisticsWindow(SeriesStatistics statistics, ReadingSeries series, const QString& listCaption,
                   Dialogs& dialogs, QString folder, QWidget* parent);

  static const QString kCaption;  // "Statistics"

  const SeriesStatistics& statistics() const { return statistics_; }
  // The files the list was read from, named in the report with their size and SHA-256.
  void SetSourceFiles(const QStringList& paths) { sourceFiles_ = paths; }
  const QStringList& SourceFiles() const { return sourceFiles_; }

  QTableWidget* GridFigures = nullptr;
  QTableWidget* GridDays = nullptr;
  QTableWidget* GridMonths = nullptr;
  QPushButton* CmdCopy = nullptr;
  QPushButton* CmdExport = nullptr;
  QPushButton* CmdSite = nullptr;
  QPushButton* CmdSensor = nullptr;
  QPushButton* CmdReport = nullptr;

  void CmdCopyClick();
  void CmdExportClick();
  void CmdSiteClick();
  void CmdSensorClick();
  void CmdReportClick();

 private:
  // The clear-sky figures for the site kept, if any, and the grids filled.
  void ShowFigures();

  SeriesStatistics statistics_;
  ReadingSeries series_;
  WindowDialogs dialogs_;
  QString folder_;
  QStringList sourceFiles_;
  SiteAssumptions assumed_;
};

// The filter of the report's save dialog.
inline const QString kPdfFilter = QStringLiteral("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*|");

// The save dialog of an export: asked again while it names a file that is being written.
// Empty on Cancel.
QString ChooseExportFile(Dialogs& dialogs, const QString& folder);

// Creates `path` through the write gate and has `write` fill it, piece by piece through `put`;
// when that fails, says so in a message box and returns false.
using PutBytes = std::function<bool(QByteArrayView piece)>;
bool WriteExportFile(Dialogs& dialogs, const QString& path,
                     const std::function<bool(const PutBytes& put)>& write);

}  // namespace solardesk
