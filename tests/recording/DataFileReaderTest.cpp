#include <gtest/gtest.h>

#include <QFileInfo>

#include "RecordingFixture.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/logic/DataFileWriter.h"

namespace solardesk {
namespace {

using testing::FakeFileList;
using testing::FakeLiveList;
using testing::ProgramTest;
using testing::WriteBytes;

class LoadTest : public ProgramTest {
 protected:
  LoadOutcome Load(const QString& name) {
    list.caption = name;
    return LoadDataFile(Path(name), name, list, transfer().OpenedFileUnit, instrument());
  }
  FakeFileList list;
};

TEST_F(LoadTest, ReadingErrorsEndQuietlyAndKeepWhatWasRead) {
  // Each file, its bytes (null: no such file), then what the load gives: complete or not, the
  // entries listed, the caption left, whether a title was set.
  const std::tuple<const char*, QByteArray, bool, int, const char*, bool> cases[] = {
      {"missing.pvd", QByteArray(), false, 0, "missing.pvd", false},
      {"empty.pvd", QByteArray(""), true, 0, "empty.pvd", false},
      {"notab.pvd",
       QByteArray(
           "      No.s\tDate\tU\t\r\n      1\tx\t 1\t\r\nbroken line\r\n      3\tz\t 3\t\r\n"),
       false, 1, "1 completed", true},
      {"notabheader.pvd", QByteArray("no tab here\r\n      1\tx\t 1\t\r\n"), false, 0,
       "notabheader.pvd", false},
  };
  for (const auto& [file, bytes, complete, entries, caption, titleSet] : cases) {
    const QString name = QString::fromLatin1(file);
    if (!bytes.isNull()) WriteBytes(Path(name), bytes);
    list = FakeFileList();
    transfer().OpenedFileUnit = QStringLiteral("kept");
    StopTimers();
    const LoadOutcome outcome = Load(name);
    EXPECT_EQ(outcome.complete, complete) << file;
    EXPECT_EQ(list.records.entries().count(), entries) << file;
    EXPECT_EQ(list.caption, QString::fromLatin1(caption)) << file;
    EXPECT_EQ(list.titleSet, titleSet) << file;
    if (!titleSet) {
      EXPECT_EQ(transfer().OpenedFileUnit, QStringLiteral("kept")) << file;
    }
    EXPECT_TRUE(TimersRunning()) << file;
  }
}

// "Save" onto the name being opened truncates the file while the load lets events run: the
// load must end with the lines read so far, not crash on memory that no longer has a file.
TEST_F(LoadTest, AFileTruncatedWhileItLoadsKeepsTheLinesReadSoFar) {
  constexpr int kLines = 100000;  // several megabytes
  QByteArray bytes = HeaderText(QStringLiteral("W/(M)2")).toLatin1() + "\r\n";
  for (int i = 1; i <= kLines; ++i)
    bytes += RecordText(static_cast<float>(i), QStringLiteral("2026/12/04 09:30:00"),
                        QStringLiteral("1.5"))
                 .toLatin1() +
             "\r\n";
  const QString path = Path(QStringLiteral("shrinks.pvd"));
  WriteBytes(path, bytes);

  list.onEvents = [&path] { QFile::resize(path, 0); };
  const LoadOutcome outcome = Load(QStringLiteral("shrinks.pvd"));
  ASSERT_EQ(QFileInfo(path).size(), 0);
  EXPECT_GT(list.records.entries().count(), 0);
  EXPECT_LT(list.records.entries().count(), kLines);
  EXPECT_EQ(outcome.linesRead, list.records.entries().count() + 1);
  for (int i = 0; i < list.records.entries().count(); ++i) {
    ASSERT_EQ(list.records.entries().line(i),
              QStringLiteral("%1\t2026/12/04 09:30:00\t 1.5\t").arg(i + 1, 10))
        << i;
  }
}

// Numbers stand right-aligned in ten characters, a longer one whole.
TEST_F(LoadTest, FirstLineIsAlwaysTheTitleAndLeadingSpacesDoNotCount) {
  WriteBytes(Path(QStringLiteral("x.pvd")),
             "   5\t2026/12/04 09:30:00\t 1\t\n        6\t2026/12/04 09:30:01\t 2\t\r\n"
             "      1.234568E+07\t2026/12/04 09:30:02\t 3\t");
  const LoadOutcome outcome = Load(QStringLiteral("x.pvd"));
  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.linesRead, 3);
  EXPECT_EQ(list.title, QStringLiteral("         5\t2026/12/04 09:30:00\t 1\t"));
  EXPECT_EQ(transfer().OpenedFileUnit, QStringLiteral(" 1"));
  ASSERT_EQ(list.records.entries().count(), 2);
  EXPECT_EQ(list.records.entries().line(0),
            QStringLiteral("         6\t2026/12/04 09:30:01\t 2\t"));
  EXPECT_EQ(list.records.entries().line(1),
            QStringLiteral("1.234568E+07\t2026/12/04 09:30:02\t 3\t"));
}

TEST_F(LoadTest, FailedListSaveRestoresCaptionPointerAndTimers) {
  FakeLiveList live;
  live.rows.append(HeaderText(QStringLiteral("W/(M)2")));
  StopTimers();
  EXPECT_FALSE(SaveListToFile(live.rows, 0, Path(QStringLiteral("no/such/folder/x.pvd")), live,
                              instrument()));
  EXPECT_EQ(live.caption, QStringLiteral("Real Time List"));
  EXPECT_EQ(live.busyDepth, 0);
  EXPECT_TRUE(TimersRunning());
}

}  // namespace
}  // namespace solardesk
