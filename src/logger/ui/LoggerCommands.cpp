#include "LoggerCommands.h"

namespace solardesk {

LoggerCommands::LoggerCommands(Instrument& instrument, const QWidget& mainWindow,
                               std::function<DataListSink*()> dataList)
    : instrument_(instrument), mainWindow_(mainWindow), dataListSource_(std::move(dataList)) {}

LoggerCommands::~LoggerCommands() {
  delete memory_.data();
}

DataListSink& LoggerCommands::dataList() {
  DataListSink* sink = dataListSource_ ? dataListSource_() : nullptr;
  return sink ? *sink : noDataList_;
}

void LoggerCommands::CloseMemory() {
  if (memory_) memory_->close();
  memory_.clear();
}

void LoggerCommands::OpenMemory(const LoggerCapacity& capacity) {
  DataListSink& list = dataList();
  if (list.IsOpen()) list.Close();
  CloseMemory();
  memory_ = new MemoryWindow(instrument_, state_, list, mainWindow_);
  memory_->onDownloadRunning = [this](bool running) {
    if (onDownloadRunning) onDownloadRunning(running);
  };
  memory_->onCompare = [this](std::vector<ComparedSet> sets) {
    if (onCompare) onCompare(std::move(sets));
  };
  memory_->show();
  state_.MemoryOpen = true;
  memory_->ShowCapacity(capacity);
}

void LoggerCommands::Logger() {
  DirectoryHooks hooks;
  hooks.openMemory = [this](const LoggerCapacity& capacity) { OpenMemory(capacity); };
  hooks.progress = [this](int percent) {
    if (memory_) memory_->MBar->setValue(percent);
  };
  hooks.addSet = [this](int set, const QString& startText) {
    if (memory_) memory_->AddSetRow(set, startText);
  };
  ReadLoggerDirectory(instrument_, state_, hooks);
}

void LoggerCommands::Erase() {
  EraseLogger(instrument_, [this] {
    if (state_.MemoryOpen) CloseMemory();
  });
}

}  // namespace solardesk
