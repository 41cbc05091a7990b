#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

#include "FileList.h"
#include "ListPrinting.h"
#include "RealTimeList.h"
#include "StatisticsWindow.h"
#include "logger/logic/DataListSink.h"
#include "recording/logic/FileTransfer.h"
#include "recording/logic/SecondTicker.h"

namespace solardesk {

class Instrument;
class PanelWindow;

// Recording on the PC as the main window offers it: the toolbar commands "Save", "Open",
// "Interval" and "List", the recording tick on Timer2, the recording labels, and the list
// windows with their own toolbars. It also serves the logger as its DataList window.
class RecordingWindows final : public DataListSink {
 public:
  RecordingWindows(Instrument& instrument, PanelWindow& panel);
  ~RecordingWindows() override;

  FileTransfer transfer;
  // Timer2 kept in step with the wall clock; each new second is one recording tick.
  SecondTicker ticker;

  // Where "Plot" hands its series, point count and unit title (the file plot).
  std::function<void(const std::vector<float>& series, int plotPointCount,
                     const QString& openedFileUnit)>
      plot;

  // Once a second: tells the recording whether Timer2 is held off, so that a paused recording
  // shows on the main window with the samples it missed.
  void WatchTimers();

  // Toolbar commands of the main window.
  void Save() { transfer.SaveCommand(); }
  void Open();
  void Interval();
  void List();

  // The open windows, or null.
  RealTimeList* realTimeList() const { return realTimeList_; }
  FileList* fileList() const { return fileList_; }
  DataList* dataList() const { return dataList_; }
  StatisticsWindow* statisticsWindow() const { return statistics_; }

  // DataListSink: the DataList window for the logger. It places itself below the window given
  // by setMemoryWindow (the logger's Memory window), or top-aligned with the main window when
  // there is none.
  bool IsOpen() const override { return transfer.DataListOpen; }
  void Close() override;
  void Show(const QString& loggerUnit) override;
  void AddEntry(const QString& line) override;
  QString WriteSetFile(const QString& path, const QString& loggerUnit,
                       const QStringList& lines) override;
  void ExportSetCsv(const QString& loggerUnit, const QStringList& lines) override;
  void setMemoryWindow(QWidget* memory) { memory_ = memory; }

 private:
  void ShowLabels();
  // What "Print" and "Print Preview" of the file list and of the live list print.
  Listing FileListing(FileList& list) const;
  Listing LiveListing(RealTimeList& list) const;
  // "Print" (or its preview) of a list window.
  void PrintList(ListWindow* list, const Listing& listing, bool preview);
  void PlotFileList();
  void SaveLiveList();
  void SaveDataList();
  // "Statistics" and "Export CSV" of the file list and the DataList.
  void ShowStatistics(TitledList& list);
  void ExportCsv(TitledList& list);
  // Asks for a CSV file and writes the records there; `busy` shows the busy pointer meanwhile.
  void ExportRecords(Dialogs& dialogs, const RecordSeries& records, const QString& unit,
                     const std::function<void(bool)>& busy);
  // Deletes a closed window once no long loop of this subsystem is using it.
  void Retire(QWidget* window);
  // Runs a long loop of a list window; windows closed meanwhile are deleted afterwards.
  void RunLoop(const std::function<void()>& loop);

  Instrument& instrument_;
  PanelWindow& panel_;
  QPointer<RealTimeList> realTimeList_;
  QPointer<FileList> fileList_;
  QPointer<DataList> dataList_;
  QPointer<StatisticsWindow> statistics_;
  QPointer<QWidget> memory_;
  std::vector<QPointer<QWidget>> retired_;
  int loops_ = 0;
  // Looks once a second whether recording is on while Timer2 is held off.
  QTimer holdWatch_;
};

}  // namespace solardesk
