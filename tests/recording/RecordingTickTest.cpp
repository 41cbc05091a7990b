#include <gtest/gtest.h>

#include "RecordingFixture.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk {
namespace {

using testing::FakeLiveList;
using testing::ProgramTest;
using testing::ReadBytes;
using testing::RecorderAccess;

const QByteArray kWattsHeader = "      No.s\t            Date Time\t         W/(M)2\t\r\n";

class TickTest : public ProgramTest {
 protected:
  // Starts file recording into `name` (the save dialog answers with it).
  void StartRecording(const QString& name) {
    dialogs.saveAnswers.push_back(Path(name));
    transfer().SaveCommand();
    ASSERT_TRUE(transfer().recorder.fileRecording());
  }
  // Ticks once a second on the manual clock; returns the ticks that wrote a record.
  std::vector<int> TickSeconds(int ticks) {
    std::vector<int> sampled;
    for (int t = 1; t <= ticks; ++t) {
      const float before = transfer().recorder.fileRecordCount();
      Tick();
      if (transfer().recorder.fileRecordCount() != before) sampled.push_back(t);
      clock.advanceMs(1000);
    }
    return sampled;
  }
  void OpenFakeList() {
    transfer().ListCommand([this]() -> LiveList* {
      transfer().recorder.StartLiveRows(live.rows);
      return &live;
    });
    live.onClose = [this] { transfer().recorder.ListClosed(); };
  }
  FakeLiveList live;
};

TEST_F(TickTest, SamplesEveryIntervalCountedFromTheFirstSample) {
  const std::pair<float, std::vector<int>> cases[] = {
      {5, {1, 6, 11}},
      {86400, {1, 86401}},  // the longest interval counts its ticks without overflow
  };
  for (const auto& [interval, sampledTicks] : cases) {
    StartRecording(QStringLiteral("i.pvd"));
    transfer().recorder.SetSampleInterval(interval);
    EXPECT_EQ(TickSeconds(static_cast<int>(sampledTicks.size() * interval)), sampledTicks);
    transfer().SaveCommand();  // stop
  }
}

// Each sample with the clock's time and the count on the main window; a change of unit ends the
// recording without a line.
TEST_F(TickTest, RecordsWithTheClockTimeUntilTheUnitChanges) {
  StartRecording(QStringLiteral("site.pvd"));
  Tick();
  clock.advanceMs(1000);
  meter->SetFixedReading(QStringLiteral("1.234"));
  Poll();
  Tick();
  EXPECT_EQ(panel().LblCount->text(), QStringLiteral("2"));
  EXPECT_EQ(panel().LblRecording->text(), QStringLiteral("Rec"));

  meter->unit = kUnitBtu;
  Poll();
  ASSERT_EQ(instrument().meter.ReadingUnit, kUnitBtu);
  Tick();
  EXPECT_FALSE(transfer().recorder.fileRecording());
  EXPECT_EQ(transfer().recorder.fileRecordCount(), 0.0f);
  EXPECT_FALSE(panel().LblRecording->isVisibleTo(&panel()));
  EXPECT_EQ((QStringList{panel().LblCount->text(), panel().LblFileName->text(),
                         panel().toolbarAction(QStringLiteral("Save"))->toolTip()}),
            (QStringList{"", "", "Save As (Ctrl+S)"}));
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("site.pvd"))),
            kWattsHeader +
                "      1\t2026/12/04 09:30:00\t 98.76\t\r\n"
                "      2\t2026/12/04 09:30:01\t 1.234\t\r\n");
}

// Names of continuation files for other names are ContinuationName's table.
TEST_F(TickTest, ContinuationFilesBeginAfterEveryFullFile) {
  StartRecording(QStringLiteral("site.pvd"));
  RecorderAccess::FileRecordCount(transfer().recorder) = 345599;
  Tick();  // record 345600 fills the first file
  Tick();  // record 345601 opens the first continuation
  RecorderAccess::FileRecordCount(transfer().recorder) = 691200;
  Tick();  // record 691201 opens the second
  EXPECT_EQ(transfer().recorder.filePart(), 2);
  const std::pair<const char*, const char*> files[] = {
      {"site.pvd", "345600"}, {"site-1.pvd", "345601"}, {"site-2.pvd", "691201"}};
  for (const auto& [name, number] : files)
    EXPECT_EQ(ReadBytes(Path(QString::fromLatin1(name))),
              kWattsHeader + "      " + number + "\t2026/12/04 09:30:00\t 98.76\t\r\n");
}

TEST_F(TickTest, CounterPastSixteenMillionStaysAndPrintsInExponentForm) {
  StartRecording(QStringLiteral("big.pvd"));
  RecorderAccess::FileRecordCount(transfer().recorder) = 9999999;
  Tick();
  RecorderAccess::FileRecordCount(transfer().recorder) = 16777215;
  Tick();
  Tick();
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("big.pvd"))),
            kWattsHeader +
                "      1E+07\t2026/12/04 09:30:00\t 98.76\t\r\n"
                "      1.677722E+07\t2026/12/04 09:30:00\t 98.76\t\r\n"
                "      1.677722E+07\t2026/12/04 09:30:00\t 98.76\t\r\n");
  EXPECT_EQ(panel().LblCount->text(), QStringLiteral("1.677722E+07"));
}

TEST_F(TickTest, ListGetsRowsFollowsNewestAndClosesAtUnitChange) {
  transfer().recorder.SetLastDataFolder(dir.path());
  OpenFakeList();
  ASSERT_TRUE(transfer().recorder.listRecording());
  for (int i = 0; i < 18; ++i) Tick();
  EXPECT_EQ(live.rows.count(), 19);
  EXPECT_EQ(live.rows.line(0), HeaderText(kUnitWatts));
  EXPECT_EQ(live.rows.line(18), QStringLiteral("      18\t2026/12/04 09:30:00\t98.76\t"));
  EXPECT_EQ(live.follows, 2);  // rows 17 and 18
  meter->unit = QString();
  Poll();
  Tick();
  EXPECT_TRUE(live.closed);
  EXPECT_FALSE(transfer().recorder.listRecording());
  EXPECT_EQ(transfer().recorder.listRecordCount(), 0.0f);
  EXPECT_EQ(live.rows.count(), 1);  // the rows went to the flush file
  EXPECT_EQ(ReadBytes(FlushFileName(dir.path(), clock.now())).count('\n'), 19);
}

TEST_F(TickTest, FullListIsFlushedIntoTheLastDataFolderAndKeepsCounting) {
  transfer().recorder.SetLastDataFolder(dir.path());
  OpenFakeList();
  Tick();
  RecorderAccess::ListRecordCount(transfer().recorder) = 345600;
  clock.set(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 5)));
  Tick();
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("1208093005.pvd"))),
            QByteArray("      No.s\t            Date Time\t         W/(M)2\t\r\n"
                       "      1\t2026/12/04 09:30:00\t98.76\t\r\n"));
  ASSERT_EQ(live.rows.count(), 2);
  EXPECT_EQ(live.rows.line(1), QStringLiteral("      345601\t2026/12/08 09:30:05\t98.76\t"));
  EXPECT_EQ(live.caption, QStringLiteral("Real Time List"));
  EXPECT_EQ(live.busyDepth, 0);
}

}  // namespace
}  // namespace solardesk
