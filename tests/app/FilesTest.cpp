#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "recording/RecordingFixture.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk {
namespace {

using testing::ProgramTest;
using testing::WriteBytes;

const QByteArray kWattsFile = HeaderText(kUnitWatts).toLatin1() +
                              "\r\n      1\t2026/12/04 10:00:00\t 5\t\r\n"
                              "      2\t2026/12/04 10:00:01\t 7\t\r\n";

// The recent files start empty; every file the tests name is a small watts file in the folder.
class FilesTest : public ProgramTest {
 protected:
  FilesTest() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("SolarDesk"),
              QStringLiteral("SolarDesk"))
        .clear();
  }
  QString Write(const QString& name) {
    WriteBytes(Path(name), kWattsFile);
    return Path(name);
  }
  // File > Recent files as it shows: the file of each entry, in order.
  QStringList RecentEntries() {
    QStringList out;
    for (QAction* a : app.panel().recentMenu->actions()) out << a->data().toString();
    return out;
  }
  QString Caption() {
    return app.recording().fileList() ? app.recording().fileList()->Caption() : QString();
  }
  // Sends a drag carrying `urls` and its drop to `target`; true when both were accepted.
  static bool Drop(QWidget& target, const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    const QPointF at(10, 40);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
    QCoreApplication::processEvents();  // a taken file opens once the drop has ended
    return enter.isAccepted() && drop.isAccepted();
  }
};

// Files opened and recorded come to the front of File > Recent files, each once, at most eight;
// choosing one opens it as "Open" does, without asking; a file gone is said so and dropped.
TEST_F(FilesTest, RecentFilesKeepTheLastEightAndOpenTheChosenOne) {
  EXPECT_FALSE(panel().recentMenu->isEnabled());
  const QStringList names = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
  for (const QString& n : names) {
    Write(n + QStringLiteral(".pvd"));
    ASSERT_NE(OpenFile(n + QStringLiteral(".pvd")), nullptr) << n.toStdString();
  }
  OpenFile(QStringLiteral("c.pvd"));
  dialogs.openAnswers.push_back({});  // Cancel: nothing changes
  panel().clickToolbar(QStringLiteral("Open"));
  dialogs.saveAnswers.push_back(Path(QStringLiteral("rec.pvd")));
  panel().clickToolbar(QStringLiteral("Save"));
  ASSERT_TRUE(transfer().recorder.fileRecording());
  panel().clickToolbar(QStringLiteral("Save"));  // stops the recording
  ASSERT_FALSE(transfer().recorder.fileRecording());

  QStringList expected;
  for (const char* n : {"rec", "c", "i", "h", "g", "f", "e", "d"})
    expected << Path(QString::fromLatin1(n) + QStringLiteral(".pvd"));
  EXPECT_TRUE(panel().recentMenu->isEnabled());
  EXPECT_EQ(RecentEntries(), expected);
  EXPECT_EQ(app.recentFiles().Paths(), expected);  // kept for the next run

  dialogs.shown.clear();
  panel().recentMenu->actions().at(5)->trigger();  // f
  EXPECT_EQ(Caption(), QStringLiteral("f.pvd"));
  EXPECT_TRUE(dialogs.of(QStringLiteral("open")).empty());
  EXPECT_EQ(app.recording().fileList()->Entries().count(), 2);
  expected.move(5, 0);
  EXPECT_EQ(RecentEntries(), expected);

  ASSERT_TRUE(QFile::remove(Path(QStringLiteral("e.pvd"))));
  panel().recentMenu->actions().at(6)->trigger();  // e, gone
  EXPECT_EQ(Caption(), QStringLiteral("f.pvd"));
  ASSERT_EQ(dialogs.of(QStringLiteral("message")).size(), 1u);
  EXPECT_TRUE(dialogs.of(QStringLiteral("message")).front().text.contains(QStringLiteral("e.pvd")));
  expected.removeAt(6);
  EXPECT_EQ(RecentEntries(), expected);
}

// A single ".pvd" file dropped on the main window opens as "Open" opens it; anything else is
// refused and leaves the open file as it is.
TEST_F(FilesTest, MainWindowOpensADroppedDataFileAndRefusesOtherDrops) {
  const QUrl a = QUrl::fromLocalFile(Write(QStringLiteral("a.pvd")));
  const QUrl b = QUrl::fromLocalFile(Write(QStringLiteral("b.PVD")));
  WriteBytes(Path(QStringLiteral("c.txt")), kWattsFile);
  const QUrl text = QUrl::fromLocalFile(Path(QStringLiteral("c.txt")));
  const std::tuple<const char*, QList<QUrl>, bool, const char*> cases[] = {
      {"pvd file", {a}, true, "a.pvd"},
      {"other file", {text}, false, "a.pvd"},
      {"two files", {b, a}, false, "a.pvd"},
      {"web address", {QUrl(QStringLiteral("https://example.org/x.pvd"))}, false, "a.pvd"},
      {"no file", {}, false, "a.pvd"},
      {"capital suffix", {b}, true, "b.PVD"},
  };
  for (const auto& [what, urls, taken, caption] : cases) {
    EXPECT_EQ(Drop(panel(), urls), taken) << what;
    EXPECT_EQ(Caption(), QString::fromLatin1(caption)) << what;
  }
  EXPECT_TRUE(dialogs.of(QStringLiteral("open")).empty());
  EXPECT_EQ(RecentEntries(), QStringList({b.toLocalFile(), a.toLocalFile()}));
}

// Dropped on the plot, ".pvd" files are added as series, as "Add file…" adds them.
TEST_F(FilesTest, PlotAddsDroppedDataFilesAsSeries) {
  OpenFile(QStringLiteral("a.pvd"), kWattsFile)->clickToolbar(QStringLiteral("Plot"));
  Plot* plot = program.plotWindow();
  ASSERT_NE(plot, nullptr);
  ASSERT_EQ(plot->SeriesCount(), 1);
  dialogs.shown.clear();
  const QUrl b = QUrl::fromLocalFile(Write(QStringLiteral("b.pvd")));
  const QUrl c = QUrl::fromLocalFile(Write(QStringLiteral("c.pvd")));
  WriteBytes(Path(QStringLiteral("d.csv")), kWattsFile);
  EXPECT_FALSE(Drop(*plot, {QUrl::fromLocalFile(Path(QStringLiteral("d.csv")))}));
  EXPECT_FALSE(Drop(*plot, {b, QUrl::fromLocalFile(Path(QStringLiteral("d.csv")))}));
  EXPECT_EQ(plot->SeriesCount(), 1);
  EXPECT_TRUE(Drop(*plot, {b, c}));
  ASSERT_EQ(plot->SeriesCount(), 3);
  EXPECT_TRUE(plot->Series(1).name.contains(QStringLiteral("b.pvd")));
  EXPECT_TRUE(plot->Series(2).name.contains(QStringLiteral("c.pvd")));
  EXPECT_TRUE(dialogs.of(QStringLiteral("open")).empty());
}

}  // namespace
}  // namespace solardesk
