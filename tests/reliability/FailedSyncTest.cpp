// A disk that takes the writes but fails to keep them (its syncs or the flush of a close answer
// EIO, served by tools/failing-disk): the recording says so where it runs, as a failed write.
#include <gtest/gtest.h>

#include <QDate>
#include <QLabel>
#include <cerrno>

#include "DataFileShape.h"
#include "FailingDisk.h"
#include "app/CliProcess.h"
#include "core/WriteGate.h"
#include "panel/ui/PanelWindow.h"
#include "recording/logic/RecordingHealth.h"
#include "support/AppOnVirtualMeter.h"
#include "support/SkipUnlessCi.h"

namespace solardesk::testing {
namespace {

#define SKIP_UNLESS_MOUNTED(disk)                                                 \
  do {                                                                            \
    if (!(disk).Problem().isEmpty())                                              \
      SKIP_UNLESS_CI("no failing disk here: " << (disk).Problem().toStdString()); \
  } while (false)

const QString kCause = SyncFailureText(EIO);

// solardesk-cli record fails (exit status 1, the cause on standard error) whichever hand-over to
// the disk fails: the file's data, its name in the folder, or the close; the samples it wrote are
// all in the file.
TEST(FailedSync, RecordEndsAsAFailureNamingTheCause) {
  ScenarioFile s(kWattMeter);
  for (const char* failure : {"--sync-fails", "--folder-sync-fails", "--flush-fails"}) {
    SCOPED_TRACE(failure);
    FailingDisk disk({failure});
    SKIP_UNLESS_MOUNTED(disk);
    disk.Failing(true);
    const CliRun r = RunCli({s.option(), "record", disk.Path("rec.pvd"), "--count", "2"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(kCause)) << r.err.toStdString();
    int records = 0;
    EXPECT_EQ(DataFileFault(disk.BackingPath("rec.pvd"), false, &records), QString());
    EXPECT_EQ(records, 2);
  }
}

// The main window's recording on that disk turns "Not saved", naming the cause, once a sync
// failed, and "Rec" again once one works.
TEST(FailedSync, MainWindowShowsNotSavedUntilASyncWorks) {
  FailingDisk disk({"--sync-fails"});
  SKIP_UNLESS_MOUNTED(disk);
  AppOnVirtualMeter t;
  t.meter->SetFixedReading("98.76");
  t.instrument().PauseTimers();
  t.Connect();
  FileTransfer& transfer = t.app.recording().transfer;
  const auto ticks = [&](int n) {
    for (int i = 0; i < n; ++i) {
      transfer.recorder.RecordingTick();
      t.clock.advanceMs(1000);
    }
    ASSERT_TRUE(WriteGate::Shared().WaitForSyncs(30000));
    transfer.recorder.RecordingTick();  // takes what the syncs met
    t.clock.advanceMs(1000);
  };
  ASSERT_TRUE(transfer.StartFileRecording(disk.Path("rec.pvd")));
  ticks(3);
  EXPECT_EQ(t.panel().LblRecording->text(), QStringLiteral("Rec"));
  disk.Failing(true);
  ticks(RecordFile::kSyncPeriodSecs);
  EXPECT_EQ(t.panel().LblRecording->text(), kNotSavedText);
  EXPECT_TRUE(t.panel().LblRecording->toolTip().contains(kCause))
      << t.panel().LblRecording->toolTip().toStdString();
  disk.Failing(false);
  ticks(RecordFile::kSyncPeriodSecs);
  EXPECT_EQ(t.panel().LblRecording->text(), QStringLiteral("Rec"));
  transfer.StopFileRecording();
}

// The station's day file on that disk: the failed sync is an event of its log.
TEST(FailedSync, MonitorLogsTheFailedSyncOfItsDayFile) {
  ScenarioFile s(kWattMeter);
  FailingDisk disk({"--sync-fails"});
  SKIP_UNLESS_MOUNTED(disk);
  disk.Failing(true);
  const QString events = s.file("events");
  QProcess monitor;
  monitor.setStandardErrorFile(events);
  StartCli(monitor, {s.option(), "monitor", disk.Path("station")});
  const QString said = QStringLiteral("cannot write the data file ");
  EXPECT_TRUE(WaitFor([&] { return ReadBytes(events).contains(kCause.toUtf8()); }, 20000))
      << ReadBytes(events).toStdString();
  EXPECT_TRUE(QString::fromUtf8(ReadBytes(events)).contains(said));
  monitor.terminate();
  EXPECT_TRUE(monitor.waitForFinished(15000));
  const QString day = QDate::currentDate().toString("yyyy-MM-dd") + ".pvd";
  int records = 0;
  EXPECT_EQ(DataFileFault(disk.BackingPath("station/" + day), false, &records), QString());
  EXPECT_GE(records, 1);
}

}  // namespace
}  // namespace solardesk::testing
