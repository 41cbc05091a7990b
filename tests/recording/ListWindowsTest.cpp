#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QRegularExpression>
#include <QScrollBar>

#include "RecordingFixture.h"
#include "analysis/RecordsCsv.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk {
namespace {

using testing::ProgramTest;
using testing::ReadBytes;
using testing::WriteBytes;

const QByteArray kFile =
    "      No.s\t            Date Time\t    Btu/(ft)2.h\t\r\n"
    "      1\t2026/12/04 09:30:00\t 12.5\t\r\n"
    "      2\t2026/12/04 09:30:01\t ----\t\r\n"
    "      3\t2026/12/04 09:30:02\t 300\t\r\n";

class ListWindowsTest : public ProgramTest {
 protected:
  FileList* OpenFile(const QString& name) {
    dialogs.openAnswers.push_back(Path(name));
    panel().clickToolbar(QStringLiteral("Open"));
    return recording().fileList();
  }
};

TEST_F(ListWindowsTest, OpenListsTheFileBesideTheMainWindowAndReplacesTheOldList) {
  WriteBytes(Path(QStringLiteral("a.pvd")), kFile);
  panel().move(100, 50);
  panel().show();
  FileList* first = OpenFile(QStringLiteral("a.pvd"));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(dialogs.of("open")[0].filter, kDataFileFilter);
  EXPECT_TRUE(transfer().FileListOpen);
  EXPECT_EQ(first->windowTitle(), QStringLiteral("a.pvd"));
  EXPECT_EQ(first->LblTitle->text(), ExpandTabs(HeaderText(kUnitBtu), 8));
  ASSERT_EQ(first->ListData->model()->rowCount(), 3);
  EXPECT_EQ(first->ListData->model()->index(0, 0).data().toString(),
            ExpandTabs(u"         1\t2026/12/04 09:30:00\t 12.5\t", 8));
  EXPECT_EQ(first->pos().x(), panel().frameGeometry().right() + 1);
  EXPECT_EQ(first->pos().y(), panel().frameGeometry().top());

  QPointer<FileList> old = first;
  FileList* second = OpenFile(QStringLiteral("a.pvd"));
  EXPECT_NE(second, first);
  EXPECT_TRUE(transfer().FileListOpen);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(old.isNull());

  second->close();
  EXPECT_FALSE(transfer().FileListOpen);
}

TEST_F(ListWindowsTest, PlotHandsOverTheSeriesOrSaysThereIsNothing) {
  std::vector<float> plotted;
  int count = -1;
  QString unit;
  program.plotSeries = [&](const std::vector<float>& s, int n, const QString& u) {
    plotted = s;
    count = n;
    unit = u;
  };
  WriteBytes(Path(QStringLiteral("a.pvd")), kFile);
  FileList* list = OpenFile(QStringLiteral("a.pvd"));
  list->clickToolbar(QStringLiteral("Plot"));
  EXPECT_EQ(plotted, (std::vector<float>{12.5f, 0.0f, 300.0f}));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(transfer().PlotPointCount, 3);
  EXPECT_EQ(unit, QStringLiteral("    Btu/(ft)2.h"));
  EXPECT_EQ(list->windowTitle(), QStringLiteral("a.pvd"));

  WriteBytes(Path(QStringLiteral("h.pvd")), kFile.left(kFile.indexOf('\n') + 1));
  count = -1;
  list = OpenFile(QStringLiteral("h.pvd"));
  list->clickToolbar(QStringLiteral("Plot"));
  EXPECT_EQ(count, -1);
  ASSERT_EQ(dialogs.of("message").size(), 1u);
  EXPECT_EQ(dialogs.of("message")[0].text, QStringLiteral("There is nothing to plot."));
  EXPECT_EQ(dialogs.of("message")[0].icon, MessageIcon::Exclamation);
}

TEST_F(ListWindowsTest, PrintGoesToThePrinterChosenInTheDialog) {
  WriteBytes(Path(QStringLiteral("a.pvd")), kFile);
  FileList* list = OpenFile(QStringLiteral("a.pvd"));
  // Cancelled: nothing printed.
  list->clickToolbar(QStringLiteral("Print"));
  EXPECT_EQ(dialogs.of("printer").size(), 1u);

  dialogs.printToPdf = Path(QStringLiteral("list.pdf"));
  dialogs.printerAnswers.push_back(true);
  list->clickToolbar(QStringLiteral("Print"));
  EXPECT_TRUE(ReadBytes(dialogs.printToPdf).startsWith("%PDF"));
  EXPECT_EQ(list->windowTitle(), QStringLiteral("a.pvd"));
  EXPECT_TRUE(instrument().Timer1.isActive() && instrument().Timer2.isActive());
}

TEST_F(ListWindowsTest, LiveListPrintsAndSavesAlongsideARecording) {
  dialogs.saveAnswers.push_back(Path(QStringLiteral("rec.pvd")));
  panel().clickToolbar(QStringLiteral("Save"));
  panel().clickToolbar(QStringLiteral("List"));
  RealTimeList* list = recording().realTimeList();
  ASSERT_NE(list, nullptr);

  // Saved right after opening: the header line only.
  dialogs.saveAnswers.push_back(Path(QStringLiteral("empty.pvd")));
  list->clickToolbar(QStringLiteral("Save"));
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("empty.pvd"))),
            HeaderText(kUnitWatts).toLatin1() + "\r\n");

  Tick();
  Tick();
  EXPECT_EQ(list->GridN->model()->rowCount(), 2);
  dialogs.saveAnswers.push_back(Path(QStringLiteral("live.pvd")));
  list->clickToolbar(QStringLiteral("Save"));
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("live.pvd"))),
            HeaderText(kUnitWatts).toLatin1() +
                "\r\n      1\t2026/12/04 09:30:00\t98.76\t\r\n"
                "      2\t2026/12/04 09:30:00\t98.76\t\r\n");
  EXPECT_EQ(list->windowTitle(), QStringLiteral("Real Time List"));

  // The recording goes on in its own file.
  EXPECT_EQ(transfer().RecordFileName, Path(QStringLiteral("rec.pvd")));
  Tick();
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("rec.pvd"))).count('\n'), 4);

  dialogs.printToPdf = Path(QStringLiteral("live.pdf"));
  dialogs.printerAnswers.push_back(true);
  list->clickToolbar(QStringLiteral("Print"));
  EXPECT_TRUE(ReadBytes(dialogs.printToPdf).startsWith("%PDF"));
}

TEST_F(ListWindowsTest, LiveListFollowsTheNewestRow) {
  panel().clickToolbar(QStringLiteral("List"));
  RealTimeList* list = recording().realTimeList();
  list->resize(list->width(), 200);
  list->show();
  for (int i = 0; i < 16; ++i) Tick();
  EXPECT_EQ(list->GridN->verticalScrollBar()->value(), 0);
  for (int i = 0; i < 4; ++i) Tick();
  EXPECT_EQ(list->GridN->verticalScrollBar()->value(), 4);
}

TEST_F(ListWindowsTest, DataListServesTheLoggerAndSavesWhatOpenReadsBack) {
  auto memory = std::make_unique<QWidget>();
  memory->setGeometry(400, 100, 300, 200);
  memory->show();
  recording().setMemoryWindow(memory.get());
  DataListSink& sink = program.dataList();
  EXPECT_FALSE(sink.IsOpen());
  sink.Show(kUnitWatts);
  EXPECT_TRUE(sink.IsOpen());
  DataList* list = recording().dataList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->windowTitle(), QStringLiteral("DataList"));
  EXPECT_EQ(list->TitleText(), HeaderText(kUnitWatts));
  EXPECT_EQ(list->pos().y(), memory->frameGeometry().bottom() + 1);
  const QString lines[] = {QStringLiteral("         1\t  26/12/04 09:30:00\t 0123.\t"),
                           QStringLiteral("         2\t  26/12/04 09:31:00\t 0124.\t")};
  for (const QString& l : lines) sink.AddEntry(l);
  EXPECT_EQ(list->ListData->model()->rowCount(), 2);

  dialogs.saveAnswers.push_back(Path(QStringLiteral("logger.pvd")));
  list->clickToolbar(QStringLiteral("Save"));
  EXPECT_EQ(list->windowTitle(), QStringLiteral("DataList"));
  FileList* read = OpenFile(QStringLiteral("logger.pvd"));
  ASSERT_EQ(read->Entries().count(), 2);
  EXPECT_EQ(read->Entries().line(0), lines[0]);
  EXPECT_EQ(read->Entries().line(1), lines[1]);
  EXPECT_EQ(read->TitleText(), HeaderText(kUnitWatts));

  sink.Close();
  EXPECT_FALSE(sink.IsOpen());
}

// The file list and the DataList offer the same statistics and CSV export.
TEST_F(ListWindowsTest, StatisticsAndCsvExportOfBothLists) {
  WriteBytes(Path(QStringLiteral("a.pvd")), kFile);
  TitledList* fileList = OpenFile(QStringLiteral("a.pvd"));
  program.dataList().Show(kUnitBtu);
  for (const char* line :
       {"         1\t  26/12/04 09:30:00\t 12.5\t", "         2\t  26/12/04 09:30:01\t ----\t",
        "         3\t  26/12/04 09:30:02\t 300\t"})
    program.dataList().AddEntry(QString::fromLatin1(line));
  for (TitledList* list : {fileList, static_cast<TitledList*>(recording().dataList())}) {
    SCOPED_TRACE(list->objectName().toStdString());
    list->clickToolbar(QStringLiteral("Statistics"));
    StatisticsWindow* w = recording().statisticsWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Statistics: ") + list->Caption());
    EXPECT_EQ(w->GridFigures->item(1, 1)->text(), QStringLiteral("2"));  // readings
    EXPECT_EQ(w->GridFigures->item(2, 1)->text(), QStringLiteral("1"));  // unreadable
    EXPECT_EQ(w->GridFigures->item(8, 1)->text(), QStringLiteral("0.09 Btu/ft2"));
    w->CmdCopy->click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(
        QStringLiteral("Unit\tBtu/(ft)2.h\nReadings\t2\n")));
    dialogs.saveAnswers.push_back(Path(QStringLiteral("days.csv")));
    w->CmdExport->click();
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("days.csv"))),
              "Date,Readings,Min,Max,Mean,Energy (Btu/ft2),Peak sun hours,Gaps\r\n"
              "2026-12-04,2,12.5,300,156.25,0.09,0.000,0\r\n");

    dialogs.saveAnswers.push_back(Path(QStringLiteral("records.csv")));
    list->clickToolbar(QStringLiteral("Export CSV"));
    const QList<QByteArray> lines = ReadBytes(Path(QStringLiteral("records.csv"))).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "number,time,value,unit\r");
    EXPECT_TRUE(QRegularExpression(R"(^2,2026-12-04T09:30:01[+-]\d\d:\d\d,----,Btu/\(ft\)2\.h\r$)")
                    .match(QString::fromLatin1(lines[2]))
                    .hasMatch())
        << lines[2].toStdString();
  }
  EXPECT_EQ(dialogs.of("save").back().filter, kCsvFilter);

  // A list without a readable reading has no statistics, and says so.
  WriteBytes(Path(QStringLiteral("h.pvd")), kFile.left(kFile.indexOf('\n') + 1));
  OpenFile(QStringLiteral("h.pvd"))->clickToolbar(QStringLiteral("Statistics"));
  ASSERT_EQ(dialogs.of("message").size(), 1u);
  EXPECT_EQ(dialogs.of("message")[0].text,
            QStringLiteral("There is no readable reading in this list."));
}

// The plot's status line gives the energy of the readings in view.
TEST_F(ListWindowsTest, PlotShowsTheEnergyInView) {
  WriteBytes(Path(QStringLiteral("a.pvd")), kFile);
  OpenFile(QStringLiteral("a.pvd"))->clickToolbar(QStringLiteral("Plot"));
  Plot* plot = program.plotWindow();
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->LblStatus->text(),
            QStringLiteral("Energy in view: 0.09 Btu/ft2, 0.000 peak sun hours"));
  plot->AxisMax[1]->setValue(2);  // records 1 and 2: one readable sample, no segment
  EXPECT_EQ(plot->LblStatus->text(),
            QStringLiteral("Energy in view: 0.00 Btu/ft2, 0.000 peak sun hours"));
}

}  // namespace
}  // namespace solardesk
