#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <functional>

#include "logger/ui/LoggerCommands.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/ui/RecordingWindows.h"
#include "support/AppOnVirtualMeter.h"
#include "support/FileBytes.h"

namespace solardesk::testing {
namespace {

// A logger set of `count` readings, one a minute from 12/03/04 05:06:07, in watts.
constexpr int kMinute = 60;
const QDateTime kSetStart(QDate(2012, 3, 4), QTime(5, 6, 7));

QString ReadingOf(int k) {
  return QStringLiteral("%1").arg(k % 100000, 5, 10, QLatin1Char('0'));
}

// The DataList line of reading k (from 0), as the user sees it.
QString ExpectedLine(int k) {
  return QStringLiteral("%1\t  %2\t %3\t")
      .arg(k + 1, 10)
      .arg(kSetStart.addSecs(qint64{k} * kMinute).toString(QStringLiteral("yy/MM/dd hh:mm:ss")))
      .arg(ReadingOf(k));
}

// A data file of `lines` records in the folder; returns its path.
QString WriteDataFile(const QTemporaryDir& dir, int lines) {
  QByteArray bytes = HeaderText(QStringLiteral("W/(M)2")).toLatin1() + "\r\n";
  for (int i = 1; i <= lines; ++i)
    bytes += QStringLiteral("      %1\t2026/12/04 09:30:00\t 1.5\t\r\n").arg(i).toLatin1();
  WriteBytes(dir.filePath(QStringLiteral("in.pvd")), bytes);
  return dir.filePath(QStringLiteral("in.pvd"));
}

// The program on a virtual meter holding one logger set; the Memory window lists it. Every
// block the meter sends is counted, and `onBlock` runs as each one goes out.
struct DownloadBench : AppOnVirtualMeter {
  explicit DownloadBench(int readings) {
    std::vector<QString> values;
    for (int k = 0; k < readings; ++k) values.push_back(ReadingOf(k));
    meter->AddSet(kSetStart.toString(QStringLiteral("yy/MM/dd hh:mm:ss")),
                  QStringLiteral("000000060"), QStringLiteral("W/(M)2"), values);
    Connect();
    panel().clickToolbar(QStringLiteral("Logger"));
    port.alterAnswer = [this](std::vector<std::uint8_t>&) {
      if (downloading()) {
        ++blocksSent;
        if (onBlock) onBlock();
      }
    };
  }
  MemoryWindow* memory() { return app.logger().memory(); }
  bool downloading() { return memory() && memory()->DownloadRunning(); }

  // Runs `step` at every turn of the event loop from now on, until the object goes.
  void EveryTurn(std::function<void()> step) {
    auto* timer = new QTimer(&panel());
    QObject::connect(timer, &QTimer::timeout, timer, std::move(step));
    timer->start(0);
  }

  int blocksSent = 0;
  std::function<void()> onBlock;
};

// A handler that runs while a set downloads (the list windows stay live) must neither let the
// polling tick in between the blocks nor turn the timers on before the download ends: the
// DataList gets exactly the set's readings and the meter hears nothing but the request.
TEST(DownloadIsolation, ListCommandsRunDuringADownloadLeaveTheMeterToIt) {
  QTemporaryDir dir;
  using Window = std::function<ListWindow*(DownloadBench&)>;
  const Window fileList = [](DownloadBench& b) { return b.app.recording().fileList(); };
  const Window liveList = [](DownloadBench& b) { return b.app.recording().realTimeList(); };
  const Window dataList = [](DownloadBench& b) { return b.app.recording().dataList(); };
  // Each button of a list window; the DataList's runs once that list fills, since it needs it.
  const std::tuple<const char*, Window, bool> cases[] = {{"Plot", fileList, false},
                                                         {"Print", fileList, false},
                                                         {"Save", liveList, false},
                                                         {"Print", liveList, false},
                                                         {"Save", dataList, true}};
  constexpr int kReadings = 600;  // about 90 blocks, three yields while the lines are built
  int n = 0;
  for (const auto& [button, window, inLinePhase] : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << ++n << ": " << button);
    DownloadBench b(kReadings);
    const QString file = WriteDataFile(dir, 300);
    b.dialogs.openAnswers.push_back(file);
    b.panel().clickToolbar(QStringLiteral("Open"));
    b.panel().clickToolbar(QStringLiteral("List"));
    b.dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("out.pvd")));
    b.dialogs.printerAnswers.push_back(true);
    b.dialogs.printToPdf = dir.filePath(QStringLiteral("out.pdf"));
    ASSERT_NE(b.memory(), nullptr);

    bool ran = false;
    bool timersOnDuringDownload = false;
    b.EveryTurn([&, inLinePhase = inLinePhase, window = window, button = button] {
      if (!b.downloading()) return;
      if (ran) {
        timersOnDuringDownload = timersOnDuringDownload || b.instrument().Timer1.isActive() ||
                                 b.instrument().Timer2.isActive();
        return;
      }
      const bool due = inLinePhase ? b.app.recording().dataList() != nullptr &&
                                         !b.app.recording().dataList()->Entries().empty()
                                   : b.blocksSent >= 10;
      if (!due) return;
      ran = true;
      window(b)->clickToolbar(QString::fromLatin1(button));
    });
    // Gives a polling tick that was wrongly turned on the time to fall between two blocks.
    b.onBlock = [&] {
      if (ran && b.blocksSent % 20 == 0) QThread::msleep(120);
    };

    const std::uint64_t request = b.meter->receivedTotal;
    b.memory()->ChooseRow(0);
    const std::uint64_t heard = b.meter->receivedTotal - request;

    EXPECT_TRUE(ran);
    EXPECT_FALSE(timersOnDuringDownload);
    EXPECT_EQ(heard, 1u) << "only the download request reaches the meter";
    DataList* list = b.app.recording().dataList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Entries().count(), kReadings);
    for (int k = 0; k < kReadings; ++k) ASSERT_EQ(list->Entries().line(k), ExpectedLine(k)) << k;
    EXPECT_TRUE(b.TimersRunning());
  }
}

// Closing the main window ends the program at once, whatever long loop runs: the loop stops at
// its next step, the meter is not opened again, and no window stays on the screen.
class ProgramEnd : public ::testing::Test {
 protected:
  // Runs the program's event loop until the close ends it.
  static void RunUntilEnd() { EXPECT_EQ(QCoreApplication::exec(), 0); }
  static void ExpectNoWindowShown() {
    for (const QWidget* w : QApplication::topLevelWidgets())
      EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
  }
};

TEST_F(ProgramEnd, ClosingDuringADownloadStopsItAtTheNextBlock) {
  DownloadBench b(20000);  // about 2,800 blocks
  int blocksAtClose = -1;
  int opensAtClose = -1;
  b.onBlock = [&] {
    if (b.blocksSent == 100)
      QTimer::singleShot(0, &b.panel(), [&] {
        blocksAtClose = b.blocksSent;
        opensAtClose = b.port.opens;
        b.panel().close();
      });
  };
  QTimer::singleShot(0, &b.panel(), [&] { b.memory()->ChooseRow(0); });
  RunUntilEnd();

  EXPECT_EQ(blocksAtClose, 100);
  EXPECT_EQ(b.blocksSent, blocksAtClose) << "no block is read after the close";
  EXPECT_EQ(b.port.opens, opensAtClose) << "the meter is not opened after the close";
  EXPECT_EQ(b.port.openHandles, 0);
  EXPECT_TRUE(b.dialogs.of("message").empty());
  ExpectNoWindowShown();
}

TEST_F(ProgramEnd, ClosingDuringAnOpenStopsTheLoadAtTheNextStep) {
  QTemporaryDir dir;
  constexpr int kLines = 200000;
  const QString path = WriteDataFile(dir, kLines);
  AppOnVirtualMeter t;
  t.Connect();
  const int opensBefore = t.port.opens;
  t.dialogs.openAnswers.push_back(path);
  int entriesAtClose = -1;
  auto* probe = new QTimer(&t.panel());
  QObject::connect(probe, &QTimer::timeout, probe, [&] {
    FileList* list = t.app.recording().fileList();
    // Closed at the first step the load lets events run, however fast the machine reads.
    if (!list || entriesAtClose >= 0) return;
    entriesAtClose = list->Entries().count();
    t.panel().close();
  });
  probe->start(0);
  QTimer::singleShot(0, &t.panel(), [&] { t.panel().clickToolbar(QStringLiteral("Open")); });
  RunUntilEnd();

  ASSERT_GE(entriesAtClose, 0) << "the load let no events run";
  EXPECT_EQ(t.app.recording().fileList()->Entries().count(), entriesAtClose);
  EXPECT_LT(entriesAtClose, kLines);
  EXPECT_EQ(t.port.opens, opensBefore);
  ExpectNoWindowShown();
}

// A save the user asked for is finished before the program ends: closing the main window while
// a 200,000-row live list is written leaves the whole file.
TEST_F(ProgramEnd, ClosingDuringASaveFinishesTheSaveFirst) {
  QTemporaryDir dir;
  constexpr int kRows = 200000;
  AppOnVirtualMeter t;
  t.meter->SetFixedReading("98.76");
  t.Connect();
  t.panel().clickToolbar(QStringLiteral("List"));
  RealTimeList* list = t.app.recording().realTimeList();
  ASSERT_NE(list, nullptr);
  for (int i = 1; i <= kRows; ++i) {
    list->Rows().append(ListRowText(ListNumberCell(static_cast<float>(i)),
                                    QStringLiteral("2026/12/04 09:30:00"),
                                    QStringLiteral("98.76")));
  }
  const QString path = dir.filePath(QStringLiteral("big.pvd"));
  t.dialogs.saveAnswers.push_back(path);
  bool closed = false;
  auto* probe = new QTimer(&t.panel());
  QObject::connect(probe, &QTimer::timeout, probe, [&] {
    // Closed at the first step the save lets events run.
    if (closed || !list->Caption().endsWith(QStringLiteral("Records Completed"))) return;
    closed = true;
    t.panel().close();
  });
  probe->start(0);
  QTimer::singleShot(0, list, [list] { list->clickToolbar(QStringLiteral("Save")); });
  RunUntilEnd();

  ASSERT_TRUE(closed) << "the save let no events run";
  EXPECT_EQ(ReadBytes(path).count('\n'), kRows + 1);
  ExpectNoWindowShown();
}

}  // namespace
}  // namespace solardesk::testing
