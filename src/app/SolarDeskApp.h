#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "PresetDialogs.h"
#include "RecentFiles.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "graphs/logic/LiveGraphState.h"
#include "graphs/ui/Plot.h"
#include "graphs/ui/RealTimeGraph.h"
#include "link/HidDevice.h"
#include "logger/logic/CompareSets.h"
#include "panel/logic/Instrument.h"
#include "panel/ui/PanelWindow.h"
#include "recording/ui/RecordingWindows.h"

namespace solardesk {

class DataListSink;
class KeyBinder;
class LoggerCommands;
class SetupArea;

// The whole program put together on a HID bus, a clock and a dialog service: the shared
// instrument state, the main window, and every subsystem wired to its toolbar buttons, keys
// and timers. The program builds it on the real bus; tests build it on the virtual one.
class SolarDeskApp {
 public:
  SolarDeskApp(HidBackend& backend, Clock& clock, Dialogs& dialogs);
  ~SolarDeskApp();

  Instrument& instrument() { return *instrument_; }
  PanelWindow& panel() { return *panel_; }
  // Recording on the PC, the data files and the list windows.
  RecordingWindows& recording() { return *recording_; }
  // The DataList window, as the logger fills it (recording().setMemoryWindow places it).
  DataListSink& dataList() { return *recording_; }
  KeyBinder& keys() { return *keys_; }
  SetupArea& setup() { return *setup_; }

  // The file list's "Plot" hands its series, the point count and the opened file's unit title
  // to the file plot through this hook, which the graphs set.
  std::function<void(const std::vector<float>& series, int plotPointCount,
                     const QString& openedFileUnit)>
      plotSeries;

  // The DataList window as the logger sees it: downloaded record sets go there, and the window
  // opens below the Memory window. Tests may put a sink of their own here.
  DataListSink* dataListSink = nullptr;

  LoggerCommands& logger() { return *logger_; }

  // The graphs: the live graph's open flag and unit, and the two windows while they are open.
  LiveGraphState& graphState() { return graphState_; }
  RealTimeGraph* liveGraph() const { return liveGraph_; }
  Plot* plotWindow() const { return plot_; }
  // Opens the file plot (the unit title is taken when it opens) and loads `series` into it.
  Plot& ShowPlot(std::vector<PlotSeriesData> series, int plotPointCount, const QString& unitTitle);

  // Opens the data file at `path` as "Open" does with it chosen (File > Recent files, a drop on
  // the main window). A recent file that is gone is said so and taken off the list.
  void OpenDataFile(const QString& path);
  // The files of File > Recent files, most recent first.
  RecentFiles& recentFiles() { return recentFiles_; }

 private:
  void WireKeys();
  void WireSetup();
  void WireRecording();
  void WireLogger();
  void WireGraphs();
  void WireMenu();
  void ShowRecentFiles();
  void OpenRecentFile(const QString& path);
  void CompareSets(std::vector<ComparedSet> sets);

  PresetDialogs dialogs_;  // the instrument's: "Open" may get its file without asking
  std::unique_ptr<Instrument> instrument_;
  std::unique_ptr<PanelWindow> panel_;
  std::unique_ptr<RecordingWindows> recording_;
  std::unique_ptr<DataListSink> dataListBelowMemory_;
  std::unique_ptr<LoggerCommands> logger_;
  std::unique_ptr<KeyBinder> keys_;
  std::unique_ptr<SetupArea> setup_;
  LiveGraphState graphState_;
  QPointer<RealTimeGraph> liveGraph_;
  QPointer<Plot> plot_;
  RecentFiles recentFiles_;
};

}  // namespace solardesk
