#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <random>

#include "DataFileShape.h"
#include "ProcessState.h"
#include "logger/logic/DataListSink.h"
#include "logger/logic/LoggerDirectory.h"
#include "logger/logic/LoggerState.h"
#include "logger/logic/SetDownload.h"
#include "setup/logic/SetupExchanges.h"
#include "support/AppOnVirtualMeter.h"

namespace solardesk::testing {
namespace {

class CountingDataList final : public DataListSink {
 public:
  bool IsOpen() const override { return open; }
  void Close() override { open = false; }
  void Show(const QString&) override {
    open = true;
    ++shown;
  }
  void AddEntry(const QString&) override { ++entries; }
  bool open = false;
  int shown = 0;
  long entries = 0;
};

// The real handlers (polling, keys, set-up reads, logger directory and download, recording)
// against a virtual meter that fails at random: unplugged, silent, short answers, random bytes,
// report lengths that change between connections. Nothing may crash, no read may wait longer
// than its bound, descriptors and memory must not grow, and every data file written must keep
// its layout.
TEST(FaultSoak, HandlersSurviveAHundredThousandFaultyExchanges) {
  AppOnVirtualMeter t;
  t.meter->AddSet("26/12/01 10:00:00", "000000001", "W/m2", std::vector<QString>(300, "123.4"));
  t.panel().show();
  t.instrument().PauseTimers();  // the soak drives every tick itself
  std::mt19937 random(20261205);
  auto chance = [&random](int percent) { return static_cast<int>(random() % 100) < percent; };

  int longestWaitMs = 0;
  t.bus.waitForTimeout = [&](int ms) { longestWaitMs = std::max(longestWaitMs, ms); };
  bool garbling = false;
  t.port.alterAnswer = [&](std::vector<std::uint8_t>& answer) {
    if (!garbling) return;
    answer.resize(random() % 80);
    for (auto& b : answer) b = static_cast<std::uint8_t>(random());
  };

  QTemporaryDir folder;
  int fileNumber = 0;
  auto& transfer = t.app.recording().transfer;
  auto startRecording = [&] {
    if (transfer.recorder.fileRecording() || t.instrument().meter.ReadingUnit.isEmpty()) return;
    transfer.StartFileRecording(folder.filePath(QStringLiteral("soak-%1.pvd").arg(++fileNumber)));
  };
  // A sync of a stopped file holds a duplicate of its descriptor until it ends.
  auto syncsEnded = [&] { ASSERT_TRUE(WriteGate::Shared().WaitForSyncs(60000)); };

  LoggerState loggerState;
  CountingDataList dataList;
  const KeyId keys[] = {KeyId::OnOff, KeyId::Time, KeyId::Hold,  KeyId::MxMn, KeyId::Set,
                        KeyId::Power, KeyId::Unit, KeyId::Enter, KeyId::Zero, KeyId::Mem,
                        KeyId::Up,    KeyId::Read, KeyId::Down};
  int baselineDescriptors = -1;
  long baselineKb = 0;
  int worstHandles = 0;

  for (long step = 0; t.bus.writes < 100000; ++step) {
    // Faults, now and then.
    if (chance(3)) t.port.present = !t.port.present;
    if (chance(2)) t.port.silent = !t.port.silent;
    if (chance(3)) t.port.inputReportLength = std::array{1, 9, 31, 64, 65}[random() % 5];
    if (chance(2)) t.port.outputReportLength = std::array{3, 9, 65}[random() % 3];
    if (chance(2)) garbling = !garbling;
    if (chance(1)) {  // a calm spell: the meter works as it should
      t.port.present = true;
      t.port.silent = false;
      garbling = false;
      t.port.inputReportLength = t.port.outputReportLength = 65;
    }

    switch (random() % 8) {
      case 0:
      case 1:
        t.panel().Timer1Tick();
        break;
      case 2: {
        QWidget* face = t.panel().face;
        const KeyId key = keys[random() % 13];
        QTest::mousePress(face, Qt::LeftButton, {}, t.panel().face->labelCenter(key));
        t.clock.advanceMs(static_cast<qint64>(random() % 3000));
        QTest::mouseRelease(face, Qt::LeftButton, {}, t.panel().face->labelCenter(key));
        break;
      }
      case 3:
        ReadCalibration(t.instrument());
        ReadReservation(t.instrument());
        ReadCycling(t.instrument());
        ReadMeterClock(t.instrument());
        break;
      case 4:
        ReadLoggerDirectory(t.instrument(), loggerState, {});
        break;
      case 5:
        if (chance(20))
          DownloadLoggerSet(t.instrument(), loggerState, 1 + random() % 4, dataList, {});
        break;
      default:
        startRecording();
        t.clock.advanceMs(1000);
        transfer.recorder.RecordingTick();
        break;
    }
    worstHandles = std::max(worstHandles, t.port.openHandles);

    if (step == 2000) {  // after warming up: what the rest may not exceed
      transfer.StopFileRecording();
      syncsEnded();
      baselineDescriptors = OpenDescriptors();
      baselineKb = ResidentKb();
    }
  }
  transfer.StopFileRecording();
  syncsEnded();

  EXPECT_LE(worstHandles, 1);
  EXPECT_LE(longestWaitMs, 2000);
  EXPECT_LE(OpenDescriptors(), baselineDescriptors);
  if (kResidentMemoryIsMeaningful) {
    EXPECT_LT(ResidentKb() - baselineKb, 16 * 1024) << "resident memory grew";
  }
  EXPECT_GE(t.bus.writes, 100000u);
  EXPECT_GT(dataList.shown, 0);  // some downloads got through between the faults
  ASSERT_GT(fileNumber, 1);      // recordings ended at unit changes and began again
  int records = 0;
  for (int n = 1; n <= fileNumber; ++n) {
    const QString path = folder.filePath(QStringLiteral("soak-%1.pvd").arg(n));
    int inFile = 0;
    EXPECT_EQ(DataFileFault(path, false, &inFile), QString()) << path.toStdString();
    records += inFile;
  }
  EXPECT_GT(records, 100);
}

}  // namespace
}  // namespace solardesk::testing
