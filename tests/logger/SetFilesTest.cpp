// The Data Logger's own ways out for a set: its record count and interval in the grid, "Plot",
// "Export CSV" and "Download all..." without the DataList window.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>

#include "logger/logic/DownloadAll.h"
#include "logger/logic/SetFiles.h"
#include "logger/ui/LoggerCommands.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/ui/RecordingWindows.h"
#include "support/AppOnVirtualMeter.h"
#include "support/FileBytes.h"

namespace solardesk::testing {
namespace {

TEST(SetFiles, NamesComeFromTheStartTimeMadeSafeAndUnique) {
  const QString start = QStringLiteral("26/01/02 08:00:00");
  const QStringList texts = {start,
                             start + QChar(0) + QChar(0),  // the meter's padding is no part of it
                             start,
                             QStringLiteral("26/01/03 09:10:11"),
                             QStringLiteral("2?/0*/03 0\\:1/:1\""),
                             QString()};
  EXPECT_EQ(SetFileNames(texts), QStringList({"2026-01-02_080000.pvd", "2026-01-02_080000-2.pvd",
                                              "2026-01-02_080000-3.pvd", "2026-01-03_091011.pvd",
                                              "202_-0_-03_0_1-1_.pvd", "20.pvd"}));
  // Records lie 9 bytes apart from 207, the last one 40 before the end.
  const std::pair<std::uint32_t, int> counts[] = {{0, 0},   {246, 0}, {247, 1},
                                                  {264, 2}, {265, 3}, {1000, 84}};
  for (const auto& [length, records] : counts) EXPECT_EQ(AnnouncedRecordCount(length), records);
}

// The program with its real list windows as the logger's DataList.
class LoggerSetFilesTest : public ::testing::Test, public AppOnVirtualMeter {
 protected:
  LoggerSetFilesTest() {
    meter->AddSet(QStringLiteral("26/01/02 08:00:00"), QStringLiteral("000000060"),
                  QStringLiteral("W/(M)2"), {QStringLiteral("123.4"), QStringLiteral(" 56.7")});
    meter->AddSet(QStringLiteral("26/01/02 08:00:00"), QStringLiteral("5"), QStringLiteral("B"),
                  {QStringLiteral("  1.0"), QStringLiteral("  2.0"), QStringLiteral("  3.0")});
    app.panel().clickToolbar(QStringLiteral("Logger"));
  }
  MemoryWindow* memory() { return app.logger().memory(); }
  QString Cell(int row, int column) { return memory()->GridSet->item(row, column)->text(); }
  void Select(int row) { memory()->GridSet->selectRow(row); }
  QTemporaryDir dir;
};

TEST_F(LoggerSetFilesTest, GridShowsCountsAndOnceDownloadedTheInterval) {
  ASSERT_NE(memory(), nullptr);
  EXPECT_EQ(memory()->GridSet->horizontalHeaderItem(MemoryWindow::kRecordsColumn)->text(),
            QStringLiteral("Records"));
  const auto row = [this](int r) {
    return QStringList{Cell(r, MemoryWindow::kRecordsColumn),
                       Cell(r, MemoryWindow::kIntervalColumn)};
  };
  EXPECT_EQ(row(0)[1], QString());
  std::vector<ComparedSet> plotted;
  app.logger().memory()->onCompare = [&](std::vector<ComparedSet> sets) { plotted = sets; };
  Select(1);
  memory()->CmdPlotClick();
  ASSERT_EQ(plotted.size(), 1u);
  EXPECT_EQ(plotted[0].set, 2);
  EXPECT_EQ(plotted[0].lines.size(), 3);
  EXPECT_EQ(plotted[0].unit, kUnitBtu);
  EXPECT_EQ(row(1), QStringList({"3", "5 s"}));
  EXPECT_FALSE(app.recording().dataList());  // no DataList detour
}

TEST_F(LoggerSetFilesTest, ExportCsvWritesTheSelectedSetAndNothingWithoutASelection) {
  memory()->CmdExportClick();
  ASSERT_EQ(dialogs.of("message").size(), 1u);
  EXPECT_EQ(dialogs.of("message")[0].text, QStringLiteral("Select a record set first."));
  const QString csv = dir.filePath(QStringLiteral("set.csv"));
  dialogs.saveAnswers.push_back(csv);
  Select(0);
  memory()->CmdExportClick();
  const QList<QByteArray> lines = ReadBytes(csv).split('\n');
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[0], "number,time,value,unit\r");
  EXPECT_TRUE(lines[1].startsWith("1,")) << lines[1].toStdString();
  EXPECT_TRUE(lines[2].contains("56.7")) << lines[2].toStdString();
  EXPECT_EQ(dialogs.of("save").back().owner, memory());
}

TEST_F(LoggerSetFilesTest, DownloadAllWritesOneDataFilePerSetAndRefusesNamesInUse) {
  dialogs.folderAnswers = {QString(), dir.path()};
  memory()->CmdDownloadAllClick();  // Cancel: nothing downloaded
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  ASSERT_EQ(dialogs.of("folder").size(), 1u);
  EXPECT_EQ(dialogs.of("folder")[0].owner, memory());

  memory()->CmdDownloadAllClick();
  const QString first = dir.filePath(QStringLiteral("2026-01-02_080000.pvd"));
  const QString second = dir.filePath(QStringLiteral("2026-01-02_080000-2.pvd"));
  // The layout a DataList "Save" writes, so that "Open" reads it back.
  EXPECT_EQ(ReadBytes(first), HeaderText(kUnitWatts).toLatin1() +
                                  "\r\n         1\t  26/01/02 08:00:00\t 123.4\t"
                                  "\r\n         2\t  26/01/02 08:01:00\t  56.7\t\r\n");
  EXPECT_TRUE(ReadBytes(second).startsWith(HeaderText(kUnitBtu).toLatin1()));
  EXPECT_EQ(ReadBytes(second).count('\n'), 4);
  EXPECT_EQ(dialogs.of("message").back().icon, MessageIcon::Information);

  // A name being recorded is refused; the other set is written.
  dialogs.saveAnswers.push_back(second);
  app.panel().Timer1Tick();
  app.panel().clickToolbar(QStringLiteral("Save"));
  ASSERT_TRUE(app.recording().transfer.recorder.fileRecording());
  // The first file, not in use, is the one asked about; the second is refused by the gate.
  dialogs.folderAnswers = {dir.path()};
  dialogs.messageAnswers = {DialogAnswer::Ok};
  memory()->CmdDownloadAllClick();
  EXPECT_EQ(dialogs.of("message").end()[-2].text, ReplaceQuestion(1));
  const auto done = dialogs.of("message").back();  // a copy: of() gives a new list
  EXPECT_EQ(done.icon, MessageIcon::Exclamation);
  EXPECT_TRUE(done.text.startsWith(QStringLiteral("1 of 2 record sets written")));
  EXPECT_TRUE(done.text.contains(QStringLiteral("2026-01-02_080000-2.pvd: ") + kBeingSavedText) ||
              done.text.contains(QStringLiteral("2026-01-02_080000-2.pvd: ") + kBeingRecordedText))
      << done.text.toStdString();
}

// Files of the same names already in the folder: one question for the run. OK replaces them;
// Cancel keeps them, downloads only the other sets and says so.
TEST_F(LoggerSetFilesTest, DownloadAllAsksOnceBeforeReplacingFiles) {
  const QString first = dir.filePath(QStringLiteral("2026-01-02_080000.pvd"));
  const QString second = dir.filePath(QStringLiteral("2026-01-02_080000-2.pvd"));
  const QByteArray old = "kept\r\n";
  struct Case {
    DialogAnswer answer;
    QStringList existing;
    const char* question;
    bool replaced;
    const char* summary;
  };
  const Case cases[] = {
      {DialogAnswer::Cancel,
       {first},
       "1 file in this folder has the same name",
       false,
       "1 of 2 record sets written to %1.\n1 file of the same name kept as it was."},
      {DialogAnswer::Ok,
       {first, second},
       "2 files in this folder have the same names",
       true,
       "2 of 2 record sets written to %1."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question);
    QFile::remove(first);
    QFile::remove(second);
    for (const QString& path : c.existing) WriteBytes(path, old);
    dialogs.shown.clear();
    meter->received.clear();
    dialogs.folderAnswers = {dir.path()};
    dialogs.messageAnswers = {c.answer};
    memory()->CmdDownloadAllClick();

    const auto messages = dialogs.of("message");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].text.startsWith(QString::fromLatin1(c.question)))
        << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(messages[0].owner, memory());
    EXPECT_EQ(messages[1].text,
              QString::fromLatin1(c.summary).arg(QDir::toNativeSeparators(dir.path())));
    EXPECT_EQ(messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(ReadBytes(first) == old, !c.replaced);
    EXPECT_TRUE(ReadBytes(second).startsWith(HeaderText(kUnitBtu).toLatin1()));
    // A kept file's set is not even downloaded.
    const auto set1 = std::vector<std::uint8_t>{0x00, 0x02, 0x07, 0x01};
    const auto commands = Commands(4);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), set1), c.replaced ? 1 : 0);
  }
}

}  // namespace
}  // namespace solardesk::testing
