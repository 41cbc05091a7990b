// Every file the program writes goes through one gate: no writer may take a file that another is
// writing (in this program or another), a recording survives its file being removed, and a sync
// that fails or hangs is a failed write, not a lost one or a hung program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <condition_variable>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>

#include "RecordingFixture.h"
#include "core/WriteGate.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/ui/RecordingWindows.h"

namespace solardesk {
namespace {

using testing::ProgramTest;
using testing::ReadBytes;
using testing::RecorderAccess;

class WriteGateTest : public ProgramTest {
 protected:
  ~WriteGateTest() override {
    WriteGate::Shared().SetSyncCall(nullptr);
    WriteGate::Shared().SetThreadStart(nullptr);
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      Tick();
      clock.advanceMs(1000);
    }
  }
  void FillDataList() {
    recording().Show(kUnitWatts);
    recording().AddEntry(QStringLiteral("         1\t  26/12/04 09:30:00\t98.76\t"));
  }
};

// "Export CSV" of the DataList and the Statistics window's export onto the file being
// recorded are refused and asked again; the recording goes on with every record in place.
TEST_F(WriteGateTest, ExportsCannotOverwriteTheRecording) {
  const QString rec = Path(QStringLiteral("rec.pvd"));
  Record(rec);
  Ticks(5);
  FillDataList();
  const QString csv = Path(QStringLiteral("records.csv"));
  dialogs.saveAnswers = {rec, csv};
  recording().dataList()->clickToolbar(QStringLiteral("Export CSV"));
  recording().dataList()->clickToolbar(QStringLiteral("Statistics"));
  const QString days = Path(QStringLiteral("days.csv"));
  dialogs.saveAnswers = {rec, days};
  recording().statisticsWindow()->CmdExport->click();
  Ticks(2);
  EXPECT_EQ(Warnings(), (std::vector<QString>{kBeingRecordedText, kBeingRecordedText}));
  EXPECT_TRUE(ReadBytes(csv).startsWith("number,time,value,unit"));
  EXPECT_TRUE(ReadBytes(days).startsWith("Date,"));
  EXPECT_EQ(Numbers(rec), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

// After the recording went on into site-1.pvd, site.pvd is still part of it: a list save and
// a PDF print are refused there too.
TEST_F(WriteGateTest, EarlierPartsOfARecordingStayInUse) {
  const QString site = Path(QStringLiteral("site.pvd"));
  Record(site);
  Ticks(1);
  RecorderAccess::FileRecordCount(transfer().recorder) = kRecordsPerFile;
  Ticks(1);
  ASSERT_EQ(transfer().recorder.filePart(), 1);
  const QByteArray part0 = ReadBytes(site);
  FillDataList();
  dialogs.saveAnswers = {site, Path(QStringLiteral("list.pvd"))};
  recording().dataList()->clickToolbar(QStringLiteral("Save"));
  panel().clickToolbar(QStringLiteral("List"));
  Ticks(1);
  dialogs.pdfAnswers = {site, Path(QStringLiteral("list.pdf"))};
  dialogs.printerAnswers = {true, true};
  recording().realTimeList()->clickToolbar(QStringLiteral("Print"));
  EXPECT_EQ(Warnings(), (std::vector<QString>{kBeingRecordedText, kBeingRecordedText}));
  EXPECT_EQ(ReadBytes(site), part0);
  EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("list.pdf"))));
  // Once the recording ends, the name is free again.
  transfer().StopFileRecording();
  EXPECT_TRUE(WriteGate::Shared().InUse(site).isEmpty());
}

// Another SolarDesk program (here: another open file holding the lock) writes the file: every
// writer of this one is refused with the same words.
TEST_F(WriteGateTest, FileLockedByAnotherProgramIsRefused) {
  const QString other = Path(QStringLiteral("other.pvd"));
  const int fd = ::open(QFile::encodeName(other).constData(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  ASSERT_EQ(::write(fd, "theirs", 6), 6);
  const QString mine = Path(QStringLiteral("mine.pvd"));
  dialogs.saveAnswers = {other, mine};
  panel().clickToolbar(QStringLiteral("Save"));
  EXPECT_EQ(Warnings(), std::vector<QString>{kBeingRecordedText});
  EXPECT_EQ(transfer().recorder.recordFileName(), mine);
  // Without a dialog in between (the command line), the open itself is refused.
  QString why;
  EXPECT_EQ(WriteGate::Shared().Open(other, WriteUse::Saving, &why), nullptr);
  EXPECT_EQ(why, kBeingRecordedText);
  EXPECT_EQ(ReadBytes(other), "theirs");
  ::close(fd);
}

// A full live list whose flush file cannot be made is tried again at every sample, keeping every
// row, and the message goes once it is written.
TEST_F(WriteGateTest, FailedFlushOfTheLiveListIsRetriedAtEverySample) {
  transfer().recorder.SetLastDataFolder(Path(QStringLiteral("later")));
  panel().clickToolbar(QStringLiteral("List"));
  LineStore& rows = recording().realTimeList()->Rows();
  for (int i = 1; i <= kRecordsPerFile; ++i)
    rows.append(ListRowText(ListNumberCell(static_cast<float>(i)), SampleTimeText(clock.now()),
                            QStringLiteral("98.76")));
  RecorderAccess::ListRecordCount(transfer().recorder) = kRecordsPerFile;
  Ticks(2);
  EXPECT_EQ(panel().LblRecording->text(), kNotSavedText);
  EXPECT_EQ(rows.count(), 1 + kRecordsPerFile + 2);
  ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("later"))));
  Ticks(1);
  const QStringList flushed = QDir(Path(QStringLiteral("later"))).entryList(QDir::Files);
  ASSERT_EQ(flushed.size(), 1);
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("later/")) + flushed[0]).count('\n'),
            1 + kRecordsPerFile + 2);
  EXPECT_EQ(rows.count(), 2);  // the header and the sample of this tick
  EXPECT_NE(panel().LblRecording->text(), kNotSavedText);
  EXPECT_EQ(transfer().recorder.health().unwritten, 0);
}

// A sync to the disk that fails (a disk pulled, NFS, thin storage) turns "Not saved" on with its
// cause, like a failed write, until a later sync works.
TEST_F(WriteGateTest, FailedSyncIsAFailedWrite) {
  std::atomic<bool> failing{true};
  WriteGate::Shared().SetSyncCall([&failing](int) {
    errno = EIO;
    return failing ? -1 : 0;
  });
  Record(Path(QStringLiteral("synced.pvd")));
  Ticks(11);  // the sync of second 10 starts
  ASSERT_TRUE(WriteGate::Shared().WaitForSyncs(60000));
  Ticks(1);
  EXPECT_EQ(panel().LblRecording->text(), kNotSavedText);
  EXPECT_TRUE(panel().LblRecording->toolTip().contains(
      QStringLiteral("Writing to the disk failed: Input/output error")))
      << panel().LblRecording->toolTip().toStdString();
  EXPECT_GE(transfer().recorder.health().unwrittenTotal, 10);
  failing = false;
  Ticks(10);
  ASSERT_TRUE(WriteGate::Shared().WaitForSyncs(60000));
  Ticks(1);
  EXPECT_EQ(panel().LblRecording->text(), QStringLiteral("Rec"));
}

// A sync thread that cannot be started is a failed sync, not the end of the program.
TEST_F(WriteGateTest, SyncThreadThatCannotStartIsAFailedSync) {
  WriteGate::Shared().SetThreadStart([](std::function<void()>) {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  Record(Path(QStringLiteral("nothread.pvd")));
  Ticks(12);
  EXPECT_EQ(panel().LblRecording->text(), kNotSavedText);
  EXPECT_TRUE(
      panel().LblRecording->toolTip().contains(QStringLiteral("Writing to the disk failed")));
}

// A sync stuck in the kernel holds neither the end of a recording nor the end of the program
// longer than the wait it is given.
TEST_F(WriteGateTest, StuckSyncHoldsNeitherTheStopNorTheExit) {
  std::mutex m;
  std::condition_variable cv;
  bool release = false;
  WriteGate::Shared().SetSyncCall([&](int) {
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return release; });
    return 0;
  });
  // Were the stop to wait for the sync, nothing would ever release it: the watchdog ends the
  // test as failed instead of letting it hang.
  std::promise<void> stopped;
  std::thread watchdog([done = stopped.get_future()] {
    if (done.wait_for(std::chrono::seconds(60)) == std::future_status::ready) return;
    std::fputs("the stop waited for a stuck sync\n", stderr);
    std::abort();
  });
  Record(Path(QStringLiteral("stuck.pvd")));
  Ticks(11);
  transfer().StopFileRecording();
  stopped.set_value();
  watchdog.join();
  EXPECT_FALSE(WriteGate::Shared().WaitForSyncs(50));
  {
    std::lock_guard lock(m);
    release = true;
  }
  cv.notify_all();
  EXPECT_TRUE(WriteGate::Shared().WaitForSyncs(60000));
}

// A recording file removed (or replaced by an editor that saves by renaming) is made again at
// the next sample, with its header, the numbers going on; the main window says so once.
TEST_F(WriteGateTest, RemovedRecordingFileIsMadeAgain) {
  for (const bool replaced : {false, true}) {
    SCOPED_TRACE(replaced ? "replaced" : "removed");
    const QString rec = Path(QStringLiteral("gone.pvd"));
    Record(rec);
    Ticks(2);
    ASSERT_TRUE(QFile::remove(rec));
    if (replaced) testing::WriteBytes(rec, "edited\r\n");
    Ticks(2);
    EXPECT_EQ(Numbers(rec), (std::vector<int>{3, 4}));
    EXPECT_EQ(panel().LblRecording->text(), QStringLiteral("Rec"));
    EXPECT_EQ(transfer().recorder.health().notice, kFileRecreatedText);
    EXPECT_TRUE(panel().LblStatusRecording->toolTip().contains(kFileRecreatedText));
    transfer().StopFileRecording();
  }
}

}  // namespace
}  // namespace solardesk
