#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "logger/logic/DataListSink.h"
#include "logger/ui/LoggerCommands.h"
#include "support/AppOnVirtualMeter.h"

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

// A base ahead of the program's, so that the fake outlives the windows that write to it.
struct WithFakeDataList {
  FakeDataList dataList;
};

// The whole program on a virtual bus with one meter, scripted dialogs and a fake DataList.
class LoggerAppTest : public ::testing::Test, public WithFakeDataList, public AppOnVirtualMeter {
 protected:
  LoggerAppTest() { app.dataListSink = &dataList; }

  LoggerCommands& logger() { return app.logger(); }
  MemoryWindow* memory() { return logger().memory(); }
  void ClickToolbar(const char* key) { app.panel().clickToolbar(QString::fromLatin1(key)); }

  // Clicks the row of GridSet holding `row` as a user would.
  void ClickRow(int row) {
    QTableWidget* grid = memory()->GridSet;
    const QRect cell = grid->visualItemRect(grid->item(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  }

  std::vector<ScriptedDialogs::Shown> Messages() const { return dialogs.of("message"); }
};

}  // namespace solardesk::testing
