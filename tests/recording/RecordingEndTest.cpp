// How a recording ends when the meter changes unit, and how its pauses are counted, as the main
// window's status line and the live list window show them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "RecordingFixture.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/ui/RecordingWindows.h"
#include "setup/ui/SetupArea.h"

namespace solardesk {
namespace {

using testing::ProgramTest;
using testing::ReadBytes;

class RecordingEnd : public ProgramTest {
 protected:
  QString Status() { return app.panel().LblStatusRecording->text(); }
  QString StatusTip() { return app.panel().LblStatusRecording->toolTip(); }
  void TickSeconds(int n) {
    for (int i = 0; i < n; ++i) {
      recording().ticker.Timeout();
      clock.advanceMs(1000);
    }
  }
  void ChangeUnit() {
    meter->unit = kUnitBtu;
    Poll();
    clock.advanceMs(1000);  // a second of its own: the tick is not taken as early
    recording().ticker.Timeout();
  }
  // The set-up panel holds the timers off for `seconds` more, counted from the second after the
  // last tick (where TickSeconds leaves the clock), so `seconds` + 1 samples are missed.
  void HoldTimers(int seconds) {
    program.setup().Choose(0);
    clock.advanceMs(seconds * 1000);
    recording().WatchTimers();
  }
  void ReleaseTimers() {
    instrument().PauseTimers();
    instrument().ResumeTimers();
    recording().WatchTimers();
  }
};

// The listed rows go to a flush file that the status line names, and the list closes; a file
// recording alone ends with the same words.
TEST_F(RecordingEnd, UnitChangeKeepsTheListedRowsInAFlushFileAndSaysSo) {
  transfer().recorder.SetLastDataFolder(dir.path());
  Record(Path(QStringLiteral("rec.pvd")));
  panel().clickToolbar(QStringLiteral("List"));
  ASSERT_TRUE(recording().realTimeList());
  TickSeconds(3);
  ChangeUnit();
  const QString flush = FlushFileName(dir.path(), clock.now());

  EXPECT_FALSE(transfer().recorder.listRecording());
  EXPECT_FALSE(transfer().recorder.fileRecording());
  EXPECT_TRUE(!recording().realTimeList() || !recording().realTimeList()->isVisible());
  EXPECT_EQ(ReadBytes(flush), HeaderText(kUnitWatts).toLatin1() +
                                  "\r\n      1\t2026/12/04 09:30:00\t98.76\t"
                                  "\r\n      2\t2026/12/04 09:30:01\t98.76\t"
                                  "\r\n      3\t2026/12/04 09:30:02\t98.76\t\r\n");
  EXPECT_TRUE(Status().startsWith(QStringLiteral("Recording ended: the unit changed")));
  EXPECT_TRUE(StatusTip().contains(QDir::toNativeSeparators(flush))) << StatusTip().toStdString();
  // The next recording starts afresh.
  panel().clickToolbar(QStringLiteral("List"));
  EXPECT_FALSE(Status().contains(QStringLiteral("Recording ended")));

  recording().realTimeList()->close();
  meter->unit = kUnitWatts;
  Poll();
  Record(Path(QStringLiteral("alone.pvd")));
  TickSeconds(1);
  ChangeUnit();
  EXPECT_FALSE(transfer().recorder.fileRecording());
  EXPECT_EQ(Status(), QStringLiteral("Recording ended: the unit changed"));
}

// A flush file that cannot be written leaves the list open with its rows, no longer recording,
// to be saved by hand; an empty list writes no file.
TEST_F(RecordingEnd, UnitChangeKeepsAListThatCannotBeWrittenOpenAndWritesNoEmptyList) {
  transfer().recorder.SetLastDataFolder(Path(QStringLiteral("gone")));
  panel().clickToolbar(QStringLiteral("List"));
  TickSeconds(2);
  ChangeUnit();
  RealTimeList* list = recording().realTimeList();
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->isVisible());
  EXPECT_EQ(list->Rows().count(), 3);
  EXPECT_FALSE(transfer().recorder.listRecording());
  EXPECT_TRUE(StatusTip().contains(QStringLiteral("cannot be written"))) << Status().toStdString();
  list->close();

  meter->unit = kUnitWatts;
  Poll();
  transfer().recorder.SetLastDataFolder(dir.path());
  panel().clickToolbar(QStringLiteral("List"));
  ChangeUnit();
  EXPECT_EQ(Status(), QStringLiteral("Recording ended: the unit changed"));
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

// "Paused, N missed" counts this pause of the running recording only; once it goes on, the tool
// tip keeps the last pause's count. A stopped file takes its pauses with it.
TEST_F(RecordingEnd, PausedCountsThisPauseOfTheRunningRecordingOnly) {
  transfer().recorder.SetLastDataFolder(dir.path());
  Record(Path(QStringLiteral("rec.pvd")));
  panel().clickToolbar(QStringLiteral("List"));
  TickSeconds(1);
  HoldTimers(4);
  EXPECT_TRUE(Status().startsWith(QStringLiteral("Paused, 5 missed"))) << Status().toStdString();
  ReleaseTimers();
  TickSeconds(1);
  EXPECT_TRUE(StatusTip().contains(QStringLiteral("The last pause missed 5 sample(s).")));

  HoldTimers(3);
  EXPECT_TRUE(Status().startsWith(QStringLiteral("Paused, 4 missed"))) << Status().toStdString();
  ReleaseTimers();
  TickSeconds(1);
  EXPECT_TRUE(StatusTip().contains(QStringLiteral("The last pause missed 4 sample(s).")));

  panel().clickToolbar(QStringLiteral("Save"));  // stops the file; the list goes on
  EXPECT_FALSE(StatusTip().contains(QStringLiteral("The last pause")));
  HoldTimers(2);
  EXPECT_TRUE(Status().startsWith(QStringLiteral("Paused, 3 missed"))) << Status().toStdString();
}

}  // namespace
}  // namespace solardesk
