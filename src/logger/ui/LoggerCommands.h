#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "DataListSink.h"
#include "LoggerState.h"
#include "MemoryWindow.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

// The toolbar's "Logger" and "Erase" with the Memory window they open and close. The DataList
// window is reached through `dataList`, asked at each use; while it gives none, downloaded
// lines have nowhere to go and are dropped.
class LoggerCommands {
 public:
  LoggerCommands(Instrument& instrument, const QWidget& mainWindow,
                 std::function<DataListSink*()> dataList);
  ~LoggerCommands();
  LoggerCommands(const LoggerCommands&) = delete;
  LoggerCommands& operator=(const LoggerCommands&) = delete;

  void Logger();  // ReadLoggerDirectory
  void Erase();   // EraseLogger

  // The open Memory window, or null (also while a closed one waits to be deleted).
  MemoryWindow* memory() const { return state_.MemoryOpen ? memory_.data() : nullptr; }
  LoggerState& state() { return state_; }

  // Passed on to every Memory window: true while a download runs.
  std::function<void(bool running)> onDownloadRunning;
  // Passed on to every Memory window: the sets its "Compare" downloaded.
  std::function<void(std::vector<ComparedSet>)> onCompare;

 private:
  // Holds no window: what a download lists when no DataList window is connected.
  class NoDataList final : public DataListSink {
   public:
    bool IsOpen() const override { return open_; }
    void Close() override { open_ = false; }
    void Show(const QString&) override { open_ = true; }
    void AddEntry(const QString&) override {}

   private:
    bool open_ = false;
  };

  DataListSink& dataList();
  void CloseMemory();
  void OpenMemory(const LoggerCapacity& capacity);

  Instrument& instrument_;
  const QWidget& mainWindow_;
  std::function<DataListSink*()> dataListSource_;
  NoDataList noDataList_;
  LoggerState state_;
  QPointer<MemoryWindow> memory_;
};

}  // namespace solardesk
