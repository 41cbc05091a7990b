// What keeps a recording's data safe: no save may overwrite the file being recorded, a failed
// write shows on the main window, the file reaches the disk regularly, every second is sampled
// once, a paused recording says so, and the flush folder is one that worked.
#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <random>

#include "RecordingFixture.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/ui/RecordingWindows.h"
#include "setup/ui/SetupArea.h"

namespace solardesk {
namespace {

using testing::ProgramTest;
using testing::ReadBytes;
using testing::RecorderAccess;

const QString kBeingRecorded = QStringLiteral("This file is being recorded. Choose another name.");

using RecordingSafety = ProgramTest;

TEST_F(RecordingSafety, ListSavesRefuseTheFileBeingRecordedAndAskAgain) {
  const QString rec = Path(QStringLiteral("rec.pvd"));
  Record(rec);
  Tick();
  panel().clickToolbar(QStringLiteral("List"));
  recording().Show(kUnitWatts);
  recording().AddEntry(QStringLiteral("         1\t  26/12/04 09:30:00\t98.76\t"));
  for (ListWindow* list :
       std::initializer_list<ListWindow*>{recording().realTimeList(), recording().dataList()}) {
    const QString other = Path(list->windowTitle() + QStringLiteral(".pvd"));
    dialogs.saveAnswers = {rec, other};
    dialogs.shown.clear();
    list->clickToolbar(QStringLiteral("Save"));
    EXPECT_EQ(Warnings(), std::vector<QString>{kBeingRecorded});
    EXPECT_TRUE(ReadBytes(other).startsWith(HeaderText(kUnitWatts).toLatin1()));
  }
  Tick();
  EXPECT_EQ(Numbers(rec), (std::vector<int>{1, 2}));
}

TEST_F(RecordingSafety, RecordingRefusesTheFileAListSaveIsWriting) {
  panel().clickToolbar(QStringLiteral("List"));
  for (int i = 0; i < 3; ++i) Tick();
  const QString listed = Path(QStringLiteral("listed.pvd"));
  const QString rec = Path(QStringLiteral("rec.pvd"));
  // While the list is written, "Save" on the main window asks for the same name first.
  dialogs.saveAnswers = {listed, listed, rec};
  QTimer::singleShot(0, &panel(), [this] { panel().clickToolbar(QStringLiteral("Save")); });
  recording().realTimeList()->clickToolbar(QStringLiteral("Save"));
  EXPECT_EQ(Warnings(),
            std::vector<QString>{QStringLiteral("This file is being saved. Choose another name.")});
  EXPECT_EQ(transfer().recorder.recordFileName(), rec);
  EXPECT_EQ(Numbers(listed), (std::vector<int>{1, 2, 3}));
}

TEST_F(RecordingSafety, FailedWritesShowOnTheMainWindowUntilAWriteSucceeds) {
  // Records to `name`, lets `fault` strike and ticks three samples that cannot be written.
  const auto failThreeTimes = [this](const char* name, const std::function<void()>& fault,
                                     const char* cause) {
    panel().clickToolbar(QStringLiteral("List"));
    ASSERT_TRUE(transfer().StartFileRecording(Path(QString::fromLatin1(name))));
    Tick();
    fault();
    const float before = transfer().recorder.fileRecordCount();
    const int rows = recording().realTimeList()->Rows().count();
    for (int i = 0; i < 3; ++i) Tick();
    const QString tip = panel().LblRecording->toolTip();
    EXPECT_EQ(panel().LblRecording->text(), QStringLiteral("Not saved"));
    EXPECT_TRUE(tip.contains(QString::fromLatin1(cause), Qt::CaseInsensitive)) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("3 sample(s)"))) << tip.toStdString();
    EXPECT_EQ(transfer().recorder.fileRecordCount(), before);  // no number used up
    EXPECT_EQ(recording().realTimeList()->Rows().count(), rows + 3);
    EXPECT_TRUE(dialogs.of(QStringLiteral("message")).empty());
  };
  // A folder in the way of the first continuation file; taken away, the same part follows.
  const QString site1 = QStringLiteral("site-1.pvd");
  failThreeTimes(
      "site.pvd",
      [&] {
        RecorderAccess::FileRecordCount(transfer().recorder) = kRecordsPerFile;
        QDir(dir.path()).mkdir(site1);
      },
      "directory");
  QDir(dir.path()).rmdir(site1);
  Tick();
  EXPECT_EQ(panel().LblRecording->text(), QStringLiteral("Rec"));
  EXPECT_TRUE(panel().LblRecording->toolTip().isEmpty());
  EXPECT_EQ(transfer().recorder.filePart(), 1);
  EXPECT_EQ(Numbers(Path(site1)), std::vector<int>{kRecordsPerFile + 1});
}

TEST_F(RecordingSafety, FileReachesTheDiskEveryTenSecondsAndWhenRecordingStops) {
  Record(Path(QStringLiteral("synced.pvd")));
  const RecordFile& file = transfer().recorder.recordFile();
  const int atStart = file.SyncsStarted();
  std::vector<int> syncsAfter;
  for (int s = 1; s <= 25; ++s) {
    ASSERT_TRUE(WriteGate::Shared().WaitForSyncs(60000));  // a second is long enough for a sync
    Tick();
    clock.advanceMs(1000);
    syncsAfter.push_back(file.SyncsStarted() - atStart);
  }
  EXPECT_EQ(syncsAfter[8], 0);
  EXPECT_EQ(syncsAfter[10], 1);  // the sample of second 10
  EXPECT_EQ(syncsAfter[20], 2);
  transfer().StopFileRecording();
  EXPECT_EQ(file.SyncsStarted() - atStart, 3);
}

// Timer2 timeouts on the manual clock: each comes when the timer was aimed, late or early by
// up to `jitterMs` (a busy machine, a coarse timer); the file must hold every second once.
TEST_F(RecordingSafety, EverySecondIsSampledOnceWhateverTheTimerJitter) {
  struct Case {
    float interval;
    int lateMs;
    int earlyMs;
  };
  const Case cases[] = {{1, 600, 40}, {1, 60, 600}, {5, 900, 900}};
  std::mt19937 random(12);
  for (const Case& c : cases) {
    const QString path = Path(QStringLiteral("jitter.pvd"));
    Record(path);
    transfer().recorder.SetSampleInterval(c.interval);
    std::uniform_int_distribution<int> jitter(-c.earlyMs, c.lateMs);
    for (int t = 0; t < 400; ++t) {
      clock.advanceMs(std::max(1, instrument().Timer2.interval() + jitter(random)));
      recording().ticker.Timeout();
    }
    transfer().StopFileRecording();
    const QList<QByteArray> lines = ReadBytes(path).split('\n');
    QDateTime previous;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
      const QDateTime t = QDateTime::fromString(QString::fromLatin1(lines[i].split('\t')[1]),
                                                QStringLiteral("yyyy/MM/dd HH:mm:ss"));
      if (previous.isValid()) {
        ASSERT_EQ(previous.secsTo(t), static_cast<int>(c.interval)) << "line " << i + 1;
      }
      previous = t;
    }
    EXPECT_GT(lines.size(), 30);  // the run covered many samples
  }
}

// A paused file recording is StatusLineWindow's; a list recording alone pauses the same way.
TEST_F(RecordingSafety, HeldTimersShowAPausedListRecordingAndCountTheMissedSamples) {
  panel().clickToolbar(QStringLiteral("List"));
  recording().ticker.Timeout();
  program.setup().Choose(0);  // the reservation panel holds both timers off
  clock.advanceMs(4000);
  recording().WatchTimers();
  EXPECT_TRUE(panel().LblStatusRecording->text().contains(QStringLiteral("press a key")));
  EXPECT_EQ(transfer().recorder.health().missedWhilePaused, 4);
  instrument().PauseTimers();   // what a key or the panel's OK does: its own pause, then
  instrument().ResumeTimers();  // the resume that brings the held timers back
  recording().WatchTimers();
  EXPECT_FALSE(panel().LblStatusRecording->text().contains(QStringLiteral("press a key")));
  EXPECT_EQ(transfer().recorder.health().missedWhilePaused, 4);
}

TEST_F(RecordingSafety, FlushFolderIsRememberedOnlyOnceAFileWasCreatedThere) {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  dialogs.saveAnswers = {Path(QStringLiteral("missing/a.pvd"))};
  panel().clickToolbar(QStringLiteral("Save"));
  ASSERT_FALSE(transfer().recorder.fileRecording());
  EXPECT_EQ(transfer().recorder.FlushFolder(), documents);
  Record(Path(QStringLiteral("a.pvd")));
  EXPECT_EQ(transfer().recorder.FlushFolder(), QDir(dir.path()).absolutePath());
}

}  // namespace
}  // namespace solardesk
