#include <QTest>

#include "EmulatedMeterTest.h"
#include "link/HidApiBackend.h"
#include "logger/LoggerFixture.h"
#include "logger/ui/MemoryWindow.h"
#include "panel/ui/MeterFace.h"
#include "setup/ui/RTC.h"
#include "setup/ui/SetupArea.h"
#include "sim/VirtualHidBackend.h"

namespace solardesk::testing {
namespace {

using hidraw::Bytes;

// What the program showed and what the meter received while a user polled, pressed a key, read
// the meter clock, downloaded a logger set and erased the logger.
struct Transcript {
  Bytes firstPoll;
  QString meterTime;
  QStringList downloaded;
  std::vector<Bytes> commands;  // every report received but the display queries of polling ticks
};

Transcript RunUserSession(HidBackend& bus, sim::VirtualMeter& meter, ManualClock& clock) {
  ScriptedDialogs dialogs;
  FakeDataList dataList;
  SolarDeskApp app(bus, clock, dialogs);
  app.dataListSink = &dataList;
  Transcript t;

  app.panel().Timer1Tick();
  if (!meter.received.empty()) t.firstPoll = meter.received.front();

  MeterFace& face = *app.panel().face;
  QTest::mousePress(&face, Qt::LeftButton, {}, face.labelCenter(KeyId::Hold, 0));
  clock.advanceMs(100);
  QTest::mouseRelease(&face, Qt::LeftButton, {}, face.labelCenter(KeyId::Hold, 0));

  app.setup().runClockWindow = [&](RTC& w) {
    w.show();
    QTest::mouseClick(w.LblMeterTime, Qt::LeftButton);
    w.Timer1Tick();
    t.meterTime = w.LblMeterTime->text();
    QTest::mouseClick(w.CmdExit, Qt::LeftButton);
  };
  app.panel().clickToolbar(QStringLiteral("RTC"));

  app.panel().clickToolbar(QStringLiteral("Logger"));
  if (MemoryWindow* memory = app.logger().memory()) {
    QTableWidget* grid = memory->GridSet;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(0, 1)).center());
  }
  t.downloaded = dataList.entries;

  dialogs.messageAnswers = {DialogAnswer::Ok};
  app.panel().clickToolbar(QStringLiteral("Erase"));

  for (const Bytes& r : meter.received)
    if (!(r.size() >= 3 && r[1] == 0x02 && r[2] == 0x01)) t.commands.push_back(r);
  return t;
}

class HidrawAppTest : public EmulatedMeterTest {
 protected:
  std::shared_ptr<sim::VirtualMeter> SessionMeter() {
    clock.set(QDateTime(QDate(2026, 12, 4), QTime(23, 59, 58)));
    auto meter = NewMeter();
    meter->SetFixedReading("98.76");
    meter->SetClock(clock.now());
    meter->AddSet(QStringLiteral("12/03/04 05:06:07"), QStringLiteral("000000060"),
                  QStringLiteral("W/(M)2"), {QStringLiteral("123.4"), QStringLiteral(" 56.7")});
    return meter;
  }
};

TEST_F(HidrawAppTest, TheRealBackEndGivesWhatTheVirtualBusGives) {
  sim::VirtualHidBackend bus;
  auto virtualMeter = SessionMeter();
  bus.AddPort(virtualMeter);
  const Transcript expected = RunUserSession(bus, *virtualMeter, clock);

  auto emulatedMeter = SessionMeter();
  Plug(emulatedMeter);
  HidApiBackend backend;
  const Transcript got = RunUserSession(backend, *emulatedMeter, clock);

  // Every report byte for byte as on the virtual bus; what was shown, as a user expects it.
  EXPECT_EQ(got.firstPoll, expected.firstPoll);
  EXPECT_EQ(got.commands, expected.commands);
  // The display image through the real back end is HidrawLinkTest's.
  EXPECT_EQ(got.meterTime, "26/12/04 23:59:58");
  EXPECT_EQ(got.downloaded, QStringList({"         1\t  12/03/04 05:06:07\t 123.4\t",
                                         "         2\t  12/03/04 05:07:07\t  56.7\t"}));
  std::vector<Bytes> heads;
  for (const Bytes& r : got.commands) heads.emplace_back(r.begin(), r.begin() + 3);
  EXPECT_EQ(heads, (std::vector<Bytes>{{0, 1, 0x02},
                                       {0, 2, 0x03},
                                       {0, 2, 0x04},
                                       {0, 2, 0x06},
                                       {0, 2, 0x08},
                                       {0, 2, 0x07},
                                       {0, 1, 0x10}}));
  EXPECT_TRUE(emulatedMeter->sets.empty()) << "the erase reached the meter";
}

}  // namespace
}  // namespace solardesk::testing
