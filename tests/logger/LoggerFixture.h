#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <vector>

#include "app/SolarDeskApp.h"
#include "logger/logic/DataListSink.h"
#include "logger/ui/LoggerCommands.h"
#include "sim/VirtualHidBackend.h"
#include "support/ScriptedDialogs.h"

namespace solardesk::testing {

// A DataList window reduced to what the logger does with it.
class FakeDataList final : public DataListSink {
 public:
  bool IsOpen() const override { return open; }
  void Close() override {
    open = false;
    ++closes;
  }
  void Show(const QString& loggerUnit) override {
    open = true;
    shownUnits.push_back(loggerUnit);
    entries.clear();
  }
  void AddEntry(const QString& line) override {
    entries.push_back(line);
    if (onEntry) onEntry();
  }

  bool open = false;
  int closes = 0;
  std::vector<QString> shownUnits;
  QStringList entries;
  std::function<void()> onEntry;
};

// The whole program on a virtual bus with one meter, scripted dialogs and a fake DataList.
class LoggerAppTest : public ::testing::Test {
 protected:
  LoggerAppTest()
      : meter(std::make_shared<sim::VirtualMeter>(clock)),
        port(bus.AddPort(meter)),
        app(bus, clock, dialogs) {
    app.dataListSink = &dataList;
  }

  LoggerCommands& logger() { return app.logger(); }
  MemoryWindow* memory() { return logger().memory(); }
  bool TimersRunning() {
    return app.instrument().Timer1.isActive() && app.instrument().Timer2.isActive();
  }
  void ClickToolbar(const char* key) { app.panel().clickToolbar(QString::fromLatin1(key)); }

  // Clicks the row of GridSet holding `row` as a user would.
  void ClickRow(int row) {
    QTableWidget* grid = memory()->GridSet;
    const QRect cell = grid->visualItemRect(grid->item(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  }

  // Every report the meter received from index `from` on, each cut to its first `bytes` bytes.
  std::vector<std::vector<std::uint8_t>> Sent(std::size_t from = 0, std::size_t bytes = 4) const {
    std::vector<std::vector<std::uint8_t>> out;
    for (std::size_t i = from; i < meter->received.size(); ++i) {
      const auto& r = meter->received[i];
      out.emplace_back(r.begin(), r.begin() + static_cast<long>(std::min(bytes, r.size())));
    }
    return out;
  }

  std::vector<ScriptedDialogs::Shown> Messages() const { return dialogs.of("message"); }

  ManualClock clock;
  sim::VirtualHidBackend bus;
  std::shared_ptr<sim::VirtualMeter> meter;
  sim::VirtualPort& port;
  ScriptedDialogs dialogs;
  FakeDataList dataList;
  SolarDeskApp app;
};

}  // namespace solardesk::testing
