#include <gtest/gtest.h>

#include <QFileInfo>

#include "ProcessState.h"
#include "support/AppOnVirtualMeter.h"

namespace solardesk::testing {
namespace {

// Recording to a device that takes no data: every tick fails quietly, the next tick starts
// afresh, nothing crashes, and memory does not grow with the samples that could not be written.
TEST(DiskFull, RecordingToAFullDiskFailsEachTickQuietly) {
  if (!QFileInfo::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full here";
  AppOnVirtualMeter t;
  t.meter->SetFixedReading("98.76");
  t.instrument().PauseTimers();
  t.Connect();
  auto& transfer = t.app.recording().transfer;
  ASSERT_TRUE(transfer.StartFileRecording(QStringLiteral("/dev/full")));
  long startKb = 0;
  for (int tick = 0; tick < 50000; ++tick) {
    t.clock.advanceMs(1000);
    transfer.RecordingTick();
    if (tick == 1000) startKb = ResidentKb();
  }
  // 49,000 lines of about 40 bytes could not be written; none of them may be kept.
  if (kResidentMemoryIsMeaningful) {
    EXPECT_LT(ResidentKb() - startKb, 1024);
  }
  EXPECT_TRUE(transfer.FileRecording);  // a failing write is not a change of unit
  EXPECT_TRUE(t.dialogs.of("message").empty());
  t.panel().Timer1Tick();
  EXPECT_EQ(t.instrument().meter.ReadingText, "98.76");  // the program goes on working
  transfer.StopFileRecording();
  EXPECT_FALSE(transfer.FileRecording);
}

}  // namespace
}  // namespace solardesk::testing
