#include "RecordingWindows.h"

#include <QApplication>
#include <QFileInfo>

#include "ListPrinting.h"
#include "SamplingChoice.h"
#include "analysis/RecordsCsv.h"
#include "core/FreedMemory.h"
#include "panel/logic/Instrument.h"
#include "panel/ui/PanelWindow.h"
#include "panel/ui/WindowPlacement.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/logic/PlotSeries.h"
#include "recording/logic/SingleText.h"

namespace solardesk {
namespace {

// The refusal of "Open" while a file is recorded; its line break is LF followed by CR.
const QString kRecordingModeMessage = QStringLiteral("Recording Mode!\n\rPlease stop recording!");
const QString kNothingToPlot = QStringLiteral("There is nothing to plot.");
const QString kNoReadings = QStringLiteral("There is no readable reading in this list.");

}  // namespace

RecordingWindows::RecordingWindows(Instrument& instrument, PanelWindow& panel)
    : transfer(instrument),
      ticker(instrument.Timer2, instrument.clock, [this] { transfer.recorder.RecordingTick(); }),
      instrument_(instrument),
      panel_(panel) {
  transfer.recorder.onLabelsChanged = [this] { ShowLabels(); };
  // Only a running event loop sees the timers off: the short pause around an exchange blocks
  // it, so what is seen here is a hold (a set-up panel, a calibration, a long loop).
  holdWatch_.setInterval(1000);
  QObject::connect(&holdWatch_, &QTimer::timeout, &panel_, [this] { WatchTimers(); });
  holdWatch_.start();
}

void RecordingWindows::WatchTimers() {
  if (instrument_.Timer2.isActive()) {
    transfer.recorder.TimersRunning();
  } else {
    transfer.recorder.TimersHeldOff(ticker.SecondsSinceLastTick());
  }
}

RecordingWindows::~RecordingWindows() {
  transfer.recorder.onLabelsChanged = nullptr;
  transfer.recorder.ListClosed();  // the live list goes with the windows
  for (QWidget* w : {static_cast<QWidget*>(realTimeList_), static_cast<QWidget*>(fileList_),
                     static_cast<QWidget*>(dataList_), static_cast<QWidget*>(statistics_)})
    delete w;
  for (const QPointer<QWidget>& w : retired_) delete w.data();
}

void RecordingWindows::ShowLabels() {
  const RecordingLabels& l = transfer.recorder.labels();
  panel_.LblFileName->setText(l.fileName);
  panel_.LblCount->setText(l.count);
  panel_.LblRecording->setText(l.recording);
  panel_.LblRecording->setVisible(l.recordingVisible);
  panel_.setSaveButtonRecording(l.saveButtonRecording);
  const RecordingHealth& h = transfer.recorder.health();
  panel_.ShowRecordingTrouble(h.Failing(),
                              h.Failing() ? NotSavedToolTip(h.unwritten, h.cause) : QString());
  RecordingStatus status;
  if (transfer.recorder.fileRecording()) {
    status.filePath = transfer.recorder.recordFile().Path();
    status.fileCount = l.count;
  }
  status.listRecording = transfer.recorder.listRecording();
  status.listCount = SingleText(transfer.recorder.listRecordCount());
  status.paused = h.paused;
  status.missedWhilePaused = h.missedWhilePaused;
  status.pausedBefore = h.pausedBefore;
  status.unwritten = h.unwritten;
  status.unwrittenCause = h.cause;
  status.lastSample = h.lastSample;
  status.notice = h.notice;
  panel_.ShowRecordingStatus(status);
}

void RecordingWindows::Retire(QWidget* window) {
  if (!window) return;
  window->hide();
  if (loops_ == 0) {
    window->deleteLater();
  } else {
    retired_.push_back(window);
  }
}

void RecordingWindows::RunLoop(const std::function<void()>& loop) {
  ++loops_;
  loop();
  if (--loops_ > 0) return;
  for (const QPointer<QWidget>& w : retired_) {
    if (w) w->deleteLater();
  }
  retired_.clear();
}

void RecordingWindows::Open() {
  if (transfer.recorder.fileRecording()) {
    instrument_.dialogs.message(kRecordingModeMessage, kProgramTitle, MessageIcon::Critical);
    return;
  }
  const QString path =
      instrument_.dialogs.openFileName(kDataFileFilter, transfer.recorder.lastDataFolder());
  if (path.isEmpty()) return;
  if (fileList_) fileList_->close();
  auto* list = new FileList(&panel_);
  list->SetDialogs(instrument_.dialogs);
  fileList_ = list;
  transfer.FileListOpen = true;
  list->onUnload = [this, list] {
    transfer.FileListOpen = false;
    Retire(list);
  };
  list->setToolbarCommand(QStringLiteral("Print"),
                          [this, list] { PrintList(list, FileListing(*list), false); });
  list->setToolbarCommand(QStringLiteral("Print Preview"),
                          [this, list] { PrintList(list, FileListing(*list), true); });
  list->setToolbarCommand(QStringLiteral("Plot"), [this] { PlotFileList(); });
  list->setToolbarCommand(QStringLiteral("Statistics"), [this, list] { ShowStatistics(*list); });
  list->setToolbarCommand(QStringLiteral("Export CSV"), [this, list] { ExportCsv(*list); });
  list->PlaceBeside(panel_);
  list->show();
  const QString title = QFileInfo(path).fileName();
  list->SetCaption(title);
  list->SetSourcePath(path);
  RunLoop([&] {
    LoadDataFile(path, title, *static_cast<LoadTarget*>(list), transfer.OpenedFileUnit,
                 instrument_);
  });
  ReleaseFreedMemory();
}

Listing RecordingWindows::FileListing(FileList& list) const {
  return {QFileInfo(list.SourcePath()).fileName(), transfer.OpenedFileUnit, list.Entries().count(),
          [&list](int i) { return list.Entries().line(i); }};
}

Listing RecordingWindows::LiveListing(RealTimeList& list) const {
  return {RealTimeList::kCaption, transfer.recorder.listUnit(), list.Rows().count() - 1,
          [&list](int i) { return list.Rows().line(i + 1); }};
}

void RecordingWindows::PrintList(ListWindow* list, const Listing& listing, bool preview) {
  if (!list) return;
  const DialogOwner owner(instrument_.dialogs, list);
  RunLoop([&] {
    if (preview) {
      PreviewListing(instrument_, *list, listing);
    } else {
      PrintListing(instrument_, *list, listing);
    }
  });
}

void RecordingWindows::PlotFileList() {
  FileList* list = fileList_;
  if (!list) return;
  const DialogOwner owner(instrument_.dialogs, list);
  const int n = list->Entries().count();
  if (n == 0) {
    instrument_.dialogs.message(kNothingToPlot, kProgramTitle, MessageIcon::Exclamation);
    return;
  }
  instrument_.PauseTimers();
  transfer.PlotPointCount = n;
  const QString caption = list->Caption();
  {
    std::vector<float> series;
    RunLoop([&] {
      ProgressPacer pacer(*static_cast<LoadTarget*>(list), instrument_);
      series = BuildPlotSeries(list->Records(), pacer);
    });
    if (instrument_.Ending()) return;
    list->SetCaption(caption);
    if (plot) plot(series, transfer.PlotPointCount, transfer.OpenedFileUnit);
  }
  ReleaseFreedMemory();
  instrument_.ResumeTimers();
}

void RecordingWindows::Interval() {
  transfer.SetSamplingInterval([this] {
    SamplingChoice choice(transfer.PcSampling, panel_);
    choice.exec();
  });
}

void RecordingWindows::List() {
  transfer.ListCommand([this]() -> LiveList* {
    if (realTimeList_) Retire(realTimeList_);
    auto* list = new RealTimeList(transfer.recorder.listUnit(), &panel_);
    list->SetDialogs(instrument_.dialogs);
    realTimeList_ = list;
    list->onUnload = [this, list] {
      transfer.recorder.ListClosed();
      Retire(list);
    };
    list->setToolbarCommand(QStringLiteral("Save"), [this] { SaveLiveList(); });
    list->setToolbarCommand(QStringLiteral("Print"),
                            [this, list] { PrintList(list, LiveListing(*list), false); });
    list->setToolbarCommand(QStringLiteral("Print Preview"),
                            [this, list] { PrintList(list, LiveListing(*list), true); });
    list->PlaceBeside(panel_);
    list->show();
    return list;
  });
}

void RecordingWindows::SaveLiveList() {
  RealTimeList* list = realTimeList_;
  if (!list) return;
  const DialogOwner owner(instrument_.dialogs, list);
  // The list is saved under its own name, so a file recording goes on undisturbed.
  list->ListWindow::SetBusy(true);
  if (const std::optional<QString> path = transfer.ChooseFreeSaveFile()) {
    RunLoop([&] {
      transfer.WriteListFile(*path, [&] {
        return SaveListToFile(list->Rows(), list->Rows().count() - 1, *path,
                              *static_cast<LiveList*>(list), instrument_);
      });
    });
  }
  list->ListWindow::SetBusy(false);
}

void RecordingWindows::Close() {
  if (dataList_) dataList_->close();
}

void RecordingWindows::Show(const QString& loggerUnit) {
  Close();
  auto* list = new DataList(loggerUnit, &panel_);
  list->SetDialogs(instrument_.dialogs);
  dataList_ = list;
  transfer.DataListOpen = true;
  list->onUnload = [this, list] {
    transfer.DataListOpen = false;
    Retire(list);
  };
  list->setToolbarCommand(QStringLiteral("Save"), [this] { SaveDataList(); });
  list->setToolbarCommand(QStringLiteral("Statistics"), [this, list] { ShowStatistics(*list); });
  list->setToolbarCommand(QStringLiteral("Export CSV"), [this, list] { ExportCsv(*list); });
  if (memory_) {
    const QRect memory = memory_->frameGeometry();
    list->PlaceBeside(panel_, memory.y() + memory.height());
  } else {
    list->PlaceBeside(panel_);
  }
  list->show();
}

void RecordingWindows::AddEntry(const QString& line) {
  if (!dataList_) return;
  dataList_->Records().Append(line.toLatin1());
  dataList_->SyncEntries();
}

void RecordingWindows::SaveDataList() {
  DataList* list = dataList_;
  if (!list) return;
  const DialogOwner owner(instrument_.dialogs, list);
  list->SetBusy(true);
  if (const std::optional<QString> path = transfer.ChooseFreeSaveFile()) {
    RunLoop([&] {
      transfer.WriteListFile(*path, [&] {
        return SaveLoggerListToFile(list->TitleText(), list->Entries(), *path, *list, instrument_);
      });
    });
  }
  list->SetBusy(false);
}

void RecordingWindows::ShowStatistics(TitledList& list) {
  ReadingSeries series = ReadSeries(list.Records());
  SeriesStatistics s = ComputeStatistics(series, list.UnitText());
  if (s.count == 0) {
    list.dialogs().message(kNoReadings, kProgramTitle, MessageIcon::Exclamation);
    return;
  }
  if (statistics_) statistics_->close();
  statistics_ =
      new StatisticsWindow(std::move(s), std::move(series), list.Caption(), instrument_.dialogs,
                           transfer.recorder.lastDataFolder(), &panel_);
  if (const auto* file = qobject_cast<const FileList*>(&list))
    statistics_->SetSourceFiles({file->SourcePath()});
  PlaceWindow(*statistics_, list.frameGeometry().topRight() + QPoint(1, 0), &panel_);
  statistics_->show();
}

void RecordingWindows::ExportCsv(TitledList& list) {
  ExportRecords(list.dialogs(), list.Records(), list.UnitText(),
                [&list](bool busy) { list.SetBusy(busy); });
}

void RecordingWindows::ExportRecords(Dialogs& dialogs, const RecordSeries& records,
                                     const QString& unit, const std::function<void(bool)>& busy) {
  const QString path = ChooseExportFile(dialogs, transfer.recorder.lastDataFolder());
  if (path.isEmpty()) return;
  busy(true);
  WriteExportFile(dialogs, path,
                  [&](const PutBytes& put) { return WriteRecordsCsv(records, unit, put); });
  busy(false);
}

QString RecordingWindows::WriteSetFile(const QString& path, const QString& loggerUnit,
                                       const QStringList& lines) {
  const QString why = WriteLoggerSetFile(path, loggerUnit, lines);
  if (QFileInfo::exists(path)) transfer.recorder.SetLastDataFolder(QFileInfo(path).absolutePath());
  return why;
}

void RecordingWindows::ExportSetCsv(const QString& loggerUnit, const QStringList& lines) {
  RecordSeries records;
  for (const QString& line : lines) records.Append(line.toLatin1());
  // The dialogs open over the window whose command asked (the Data Logger).
  ExportRecords(instrument_.dialogs, records, loggerUnit, [](bool busy) {
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  });
}

}  // namespace solardesk
