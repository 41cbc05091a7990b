#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

#include "DataFileShape.h"
#include "ProcessState.h"
#include "support/AppOnVirtualMeter.h"
#include "support/FileBytes.h"
#include "support/SkipUnlessCi.h"

namespace solardesk::testing {
namespace {

// The program recording into `path` from the virtual meter showing 98.76; the test drives the
// recording ticks. `started`: the recording began.
struct DrivenRecording {
  explicit DrivenRecording(const QString& path) {
    t.meter->SetFixedReading("98.76");
    t.instrument().PauseTimers();
    t.Connect();
    started = transfer().StartFileRecording(path);
  }
  FileTransfer& transfer() { return t.app.recording().transfer; }
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) {
      t.clock.advanceMs(1000);
      transfer().recorder.RecordingTick();
    }
  }

  AppOnVirtualMeter t;
  bool started = false;
};

// Recording to a device that takes no data: memory does not grow with the samples that could not
// be written.
TEST(DiskFull, RecordingToAFullDiskKeepsNoUnwrittenSample) {
  if (!QFileInfo::exists(QStringLiteral("/dev/full"))) SKIP_UNLESS_CI("no /dev/full here");
  DrivenRecording r(QStringLiteral("/dev/full"));
  ASSERT_TRUE(r.started);
  long startKb = 0;
  for (int tick = 0; tick < 50000; ++tick) {
    r.Tick();
    if (tick == 1000) startKb = ResidentKb();
  }
  // 49,000 lines of about 40 bytes could not be written; none of them may be kept.
  if (kResidentMemoryIsMeaningful) {
    EXPECT_LT(ResidentKb() - startKb, 1024);
  }
  EXPECT_TRUE(r.transfer().recorder.fileRecording());  // a failing write is not a change of unit
}

// A file system of 64 KiB, mounted in a mount namespace of this thread alone, so that nothing
// is left mounted whatever becomes of the test. Empty when this machine does not allow it.
QString MountSmallDisk(const QString& at) {
  const QByteArray path = QFile::encodeName(at);
  if (::unshare(CLONE_NEWNS) != 0 ||
      ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k") != 0)
    return {};
  return at;
}

// Mounts the small file system on `dir` and sets `mounted`; where that is not allowed, skips the
// test (fails it under CI).
void MountSmallDiskOrSkip(const QTemporaryDir& dir, bool* mounted) {
  *mounted = !MountSmallDisk(dir.path()).isEmpty();
  if (*mounted) return;
  SKIP_UNLESS_CI("cannot mount a small file system here (needs root and mount namespaces)");
}

// The disk fills up while a recording runs, then room is made again: the main window says
// "Not saved" with the cause until a write succeeds, and the file keeps whole lines numbered
// without a gap.
TEST(DiskFull, FillingDiskIsShownAndTheFileStaysWholeAndConsecutive) {
  QTemporaryDir dir;
  bool mounted = false;
  MountSmallDiskOrSkip(dir, &mounted);
  if (!mounted) return;
  const QString filler = dir.filePath(QStringLiteral("filler"));
  WriteBytes(filler, QByteArray(56 * 1024, 'x'));

  const QString path = dir.filePath(QStringLiteral("rec.pvd"));
  DrivenRecording r(path);
  ASSERT_TRUE(r.started);
  AppOnVirtualMeter& t = r.t;
  FileTransfer& transfer = r.transfer();
  int ticks = 0;
  while (!transfer.recorder.health().Failing() && ticks < 2000) {
    r.Tick();
    ++ticks;
  }
  ASSERT_TRUE(transfer.recorder.health().Failing()) << "the disk did not fill up";
  r.Tick(4);
  EXPECT_EQ(t.panel().LblRecording->text(), "Not saved");
  EXPECT_TRUE(t.panel().LblRecording->toolTip().contains("Disk full"));
  EXPECT_TRUE(t.panel().LblRecording->toolTip().contains("5 sample(s)"));

  ASSERT_TRUE(QFile::remove(filler));
  r.Tick();
  EXPECT_FALSE(transfer.recorder.health().Failing());
  EXPECT_EQ(t.panel().LblRecording->text(), "Rec");
  const int written = static_cast<int>(transfer.recorder.fileRecordCount());
  EXPECT_EQ(written, ticks);  // every tick but the five that failed
  transfer.StopFileRecording();
  int records = 0;
  EXPECT_EQ(DataFileFault(path, false, &records), QString());
  EXPECT_EQ(records, written);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  for (int n = 1; n <= written; ++n)
    EXPECT_TRUE(lines[n].startsWith("      " + QByteArray::number(n) + "\t")) << lines[n].data();
  ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
}

// A header that the full disk did not take is written before the first record once there is
// room: the file never holds records without their header, and no number is used up meanwhile.
TEST(DiskFull, HeaderIsWrittenBeforeAnyRecordOnceThereIsRoom) {
  QTemporaryDir dir;
  bool mounted = false;
  MountSmallDiskOrSkip(dir, &mounted);
  if (!mounted) return;
  const QString filler = dir.filePath(QStringLiteral("filler"));
  {
    QFile fill(filler);
    ASSERT_TRUE(fill.open(QIODevice::WriteOnly));
    while (fill.write(QByteArray(4096, 'x')) > 0 && fill.flush()) {
    }
  }
  const QString path = dir.filePath(QStringLiteral("rec.pvd"));
  DrivenRecording r(path);
  ASSERT_TRUE(r.started);
  FileTransfer& transfer = r.transfer();
  r.Tick(2);
  EXPECT_EQ(r.t.panel().LblRecording->text(), "Not saved");
  ASSERT_TRUE(QFile::remove(filler));
  r.Tick(3);
  transfer.StopFileRecording();
  int records = 0;
  EXPECT_EQ(DataFileFault(path, false, &records), QString());
  EXPECT_EQ(records, 3);
  const QList<QByteArray> lines = ReadBytes(path).split('\n');
  ASSERT_GE(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith("      No.s\t")) << lines[0].data();
  EXPECT_TRUE(lines[1].startsWith("      1\t")) << lines[1].data();
  EXPECT_EQ(transfer.recorder.health().unwrittenTotal, 2);
  ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
}

}  // namespace
}  // namespace solardesk::testing
