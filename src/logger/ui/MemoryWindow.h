#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <optional>

#include "CompareSets.h"
#include "DataListSink.h"
#include "LoggerDirectory.h"
#include "LoggerState.h"
#include "SetDownload.h"
#include "ThreeDPanel.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

// "Data Logger": the record sets of the meter's logger, its capacity and fill, the download of
// one set into the DataList window and the erase commands. The "Logger" command opens and
// fills it; it deletes itself when closed.
class MemoryWindow : public QWidget {
  Q_OBJECT
 public:
  MemoryWindow(Instrument& instrument, LoggerState& state, DataListSink& dataList,
               const QWidget& mainWindow);

  static const QString kCaption;  // "Data Logger"

  // Filled by the directory read.
  void ShowCapacity(const LoggerCapacity& capacity);
  void AddSetRow(int set, const QString& startText);

  // A click on a row of GridSet: downloads that set. Ignored while a download runs.
  void ChooseRow(int row);
  bool DownloadRunning() const { return downloading_; }
  DownloadOutcome LastOutcome() const { return lastOutcome_; }

  // "Compare": downloads the sets marked in the grid's "Cmp" column one after another and
  // hands them to `onCompare`. Refused with a message unless two to eight sets are marked.
  void CmdCompareClick();
  // Marks or unmarks the set on `row` for "Compare".
  void MarkRow(int row, bool marked);
  // Also receives the one set that "Plot" downloaded.
  std::function<void(std::vector<ComparedSet>)> onCompare;

  // The set of the selected row, or nothing.
  std::optional<int> SelectedSet() const;
  // "Plot" and "Export CSV": download the selected set and plot it, or write it to a CSV file,
  // without the DataList window.
  void CmdPlotClick();
  void CmdExportClick();
  // "Download all...": asks for a folder and writes every set there, one data file each, named
  // by its start time (DownloadAllSets). Asks once before files of the same names are replaced;
  // stops at a set that cannot be downloaded; names in use are refused.
  void CmdDownloadAllClick();

  // GridSet's columns.
  static constexpr int kSetColumn = 0;
  static constexpr int kStartColumn = 1;
  static constexpr int kRecordsColumn = 2;
  static constexpr int kIntervalColumn = 3;
  static constexpr int kMarkColumn = 4;

  // Called with true when a download starts and false when it ends, so that the main window
  // can refuse clicks meanwhile.
  std::function<void(bool running)> onDownloadRunning;

  QTableWidget* GridSet = nullptr;
  QProgressBar* MBar = nullptr;
  ThreeDPanel* MSize = nullptr;
  QLabel* LblMemorySize = nullptr;
  ThreeDPanel* SSPanel2 = nullptr;  // "Used" swatch: erases the logger memory
  QLabel* Label2 = nullptr;
  ThreeDPanel* SSPanel3 = nullptr;  // "Unused" swatch: sends the second erase command
  QLabel* Label3 = nullptr;
  QPushButton* CmdCompare = nullptr;
  QPushButton* CmdPlot = nullptr;
  QPushButton* CmdExport = nullptr;
  QPushButton* CmdDownloadAll = nullptr;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildGrid();
  void BuildGauge();
  void PlaceBeside(const QWidget& mainWindow);
  void Erase(unsigned code);
  QPushButton* AddButton(const char* name, const QString& text, const QString& tip, int left);
  // Shows in each row what its set holds: the count from its length, and once downloaded the
  // count and interval found.
  void ShowSetFacts();
  // Downloads the selected set alone; nothing (after a message) when none is selected or the
  // download fails.
  std::optional<ComparedSet> DownloadSelected();
  // Runs `download` with this window and the main window's keys and toolbar taking no clicks.
  void Guarded(const std::function<void(const DownloadHooks&)>& download);

  Instrument& instrument_;
  LoggerState& state_;
  DataListSink& dataList_;
  bool downloading_ = false;
  QString lastFolder_;  // the folder "Download all..." wrote to last
  DownloadOutcome lastOutcome_ = DownloadOutcome::Listed;
};

}  // namespace solardesk
