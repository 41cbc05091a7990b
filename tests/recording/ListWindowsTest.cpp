#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QTimeZone>
#include <map>
#include <numeric>

#include "RecordingFixture.h"
#include "analysis/RecordsCsv.h"
#include "recording/logic/DataFileFormat.h"
#include "support/PdfText.h"

namespace solardesk {
namespace {

using testing::PdfPageCount;
using testing::PdfPages;
using testing::ProgramTest;
using testing::ReadBytes;

const QByteArray kFile =
    "      No.s\t            Date Time\t    Btu/(ft)2.h\t\r\n"
    "      1\t2026/12/04 09:30:00\t 12.5\t\r\n"
    "      2\t2026/12/04 09:30:01\t ----\t\r\n"
    "      3\t2026/12/04 09:30:02\t 300\t\r\n";

const QByteArray kHeaderOnly = kFile.left(kFile.indexOf('\n') + 1);

class ListWindowsTest : public ProgramTest {
 protected:
  // Prints with the list's "Print" (or "Print Preview", then its "Print") to a PDF and gives
  // the lines of its pages as pdftotext reads them in their columns.
  std::vector<QStringList> PrintedPages(ListWindow& list, const QString& command = "Print") {
    dialogs.printToPdf = Path(QStringLiteral("printed.pdf"));
    dialogs.printerAnswers.push_back(true);
    list.clickToolbar(command);
    return PdfPages(dialogs.printToPdf);
  }
  // The printed lines of a list on one page, the footer left out.
  QStringList PrintedLines(ListWindow& list) {
    const std::vector<QStringList> pages = PrintedPages(list);
    if (pages.size() != 1) {
      ADD_FAILURE() << pages.size() << " pages";
      return {};
    }
    return pages[0].mid(0, pages[0].size() - 1);
  }
  // A data file of `rows` records in watts, record k reading k.
  FileList* OpenRows(int rows) {
    QByteArray file = HeaderText(kUnitWatts).toLatin1() + "\r\n";
    for (int k = 1; k <= rows; ++k)
      file += QStringLiteral("      %1\t2026/12/04 09:30:00\t %1\t\r\n").arg(k).toLatin1();
    return OpenFile(QStringLiteral("rows.pvd"), file);
  }
};

// The data lines of a printed page: the record numbers that begin them.
std::vector<int> RecordsOn(const QStringList& page) {
  static const QRegularExpression row(QStringLiteral("^\\s*(\\d+)\\s+2026/12/04"));
  std::vector<int> records;
  for (const QString& line : page) {
    const QRegularExpressionMatch m = row.match(line);
    if (m.hasMatch()) records.push_back(m.captured(1).toInt());
  }
  return records;
}

TEST_F(ListWindowsTest, OpenListsTheFileBesideTheMainWindowAndReplacesTheOldList) {
  panel().move(100, 50);
  panel().show();
  FileList* first = OpenFile(QStringLiteral("a.pvd"), kFile);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(dialogs.of("open")[0].filter, kDataFileFilter);
  EXPECT_TRUE(transfer().FileListOpen);
  EXPECT_EQ(first->windowTitle(), QStringLiteral("a.pvd"));
  // Title and rows in the same columns: the numbers end under "No.s", the times under
  // "Date Time", the values under the unit.
  EXPECT_EQ(first->LblTitle->text(),
            QStringLiteral("      No.s            Date Time    Btu/(ft)2.h"));
  ASSERT_EQ(first->ListData->model()->rowCount(), 3);
  EXPECT_EQ(first->ListData->model()->index(0, 0).data().toString(),
            QStringLiteral("         1  2026/12/04 09:30:00           12.5"));
  // Beside the main window, as far as the screen lets it.
  const QRect area = first->screen()->availableGeometry();
  EXPECT_EQ(first->pos().x(), std::min(panel().frameGeometry().right() + 1,
                                       area.right() + 1 - first->frameGeometry().width()));
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

// The plot takes the list's readings, its status line giving the energy of those in view; a
// list without records has nothing to plot.
TEST_F(ListWindowsTest, PlotShowsTheEnergyInViewOrSaysThereIsNothing) {
  FileList* list = OpenFile(QStringLiteral("a.pvd"), kFile);
  list->clickToolbar(QStringLiteral("Plot"));
  EXPECT_EQ(transfer().PlotPointCount, 3);
  EXPECT_EQ(list->windowTitle(), QStringLiteral("a.pvd"));
  Plot* plot = program.plotWindow();
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->LblStatus->text(),
            QStringLiteral("Energy in view: 0.09 Btu/ft2, 0.000 peak sun hours"));
  plot->AxisMax[1]->setValue(2);  // records 1 and 2: one readable sample, no segment
  EXPECT_EQ(plot->LblStatus->text(),
            QStringLiteral("Energy in view: 0.00 Btu/ft2, 0.000 peak sun hours"));

  OpenFile(QStringLiteral("h.pvd"), kHeaderOnly)->clickToolbar(QStringLiteral("Plot"));
  ASSERT_EQ(dialogs.of("message").size(), 1u);
  EXPECT_EQ(dialogs.of("message")[0].text, QStringLiteral("There is nothing to plot."));
  EXPECT_EQ(dialogs.of("message")[0].icon, MessageIcon::Exclamation);
}

// Print goes to the printer chosen in the dialog, nothing when it is cancelled. Three blank
// header fields, the heading, a rule and the rows ("      9", "      10") in the same columns:
// numbers end under "No.s", times under "Date Time", values under the unit. (pdftotext places
// words to within a column, so the heading is compared to within one.) Every list prints
// through the same window; the file list's lines are the aligned-line table's.
TEST_F(ListWindowsTest, PrintedLiveListRowsLineUpUnderTheHeading) {
  panel().clickToolbar(QStringLiteral("List"));
  RealTimeList* list = recording().realTimeList();
  for (int i = 0; i < 12; ++i) Tick();
  list->clickToolbar(QStringLiteral("Print"));  // cancelled
  EXPECT_EQ(dialogs.of("printer").size(), 1u);
  EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("printed.pdf"))));
  const QStringList printed = PrintedLines(*list);
  ASSERT_EQ(printed.size(), 3 + 2 + 12) << printed.join('\n').toStdString();
  EXPECT_EQ(printed.mid(0, 3), QStringList(3, QStringLiteral("-")));
  EXPECT_EQ(printed[4].simplified(), QString(47, '-'));
  const QString heading = printed[3];
  EXPECT_TRUE(heading.endsWith(kUnitWatts));
  // Where the number, the time and the value of a line end.
  const auto columns = [](const QString& line, const QString& number, const QString& time) {
    return std::array<qsizetype, 3>{line.indexOf(number) + number.size(),
                                    line.indexOf(time) + time.size(), line.size()};
  };
  const QString time = QStringLiteral("2026/12/04 09:30:00");
  const auto headed = columns(heading, QStringLiteral("No.s"), QStringLiteral("Date Time"));
  const auto first = columns(printed[5], QStringLiteral("1"), time);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(first[k], headed[k], 1) << k;
  for (int row = 2; row <= 12; ++row) {
    EXPECT_EQ(columns(printed[4 + row], QString::number(row), time), first) << row;
    EXPECT_TRUE(printed[4 + row].endsWith(QStringLiteral("98.76"))) << row;
  }
  EXPECT_EQ(list->windowTitle(), QStringLiteral("Real Time List"));
  EXPECT_TRUE(TimersRunning());
}

// The file list prints its file's unit and every one of its rows.
TEST_F(ListWindowsTest, PrintedFileListHoldsEveryRow) {
  FileList* list = OpenFile(QStringLiteral("a.pvd"), kFile);
  QStringList words;
  for (const QString& line : PrintedLines(*list).mid(3)) words << line.simplified();
  EXPECT_EQ(words, (QStringList{"No.s Date Time Btu/(ft)2.h", QString(47, '-'),
                                "1 2026/12/04 09:30:00 12.5", "2 2026/12/04 09:30:01 ----",
                                "3 2026/12/04 09:30:02 300"}));
  EXPECT_EQ(list->windowTitle(), QStringLiteral("a.pvd"));
}

// Every printed page ends with the file's name and "Page 2 of 12", the total counted before
// printing; the pages after the first repeat the column heading. A page exactly full, one row
// more, and several pages: no row is lost or printed twice, none spills onto an empty page.
TEST_F(ListWindowsTest, PrintedPagesCarryTheNameThePageNumberAndTheHeading) {
  // How many rows the first and a later page hold on the default paper.
  const std::vector<QStringList> probe = PrintedPages(*OpenRows(300));
  ASSERT_GE(probe.size(), 3u);
  const int first = static_cast<int>(RecordsOn(probe[0]).size());
  const int later = static_cast<int>(RecordsOn(probe[1]).size());
  ASSERT_GT(first, 10);
  EXPECT_EQ(later, first + 4);  // the first page's three " -" lines and the empty line

  const struct {
    int rows;
    int pages;
  } cases[] = {{first, 1}, {first + 1, 2}, {first + later, 2}, {first + 2 * later + 1, 4}};
  const QString heading = QStringLiteral("No.s Date Time ") + kUnitWatts;
  for (const auto& c : cases) {
    const std::vector<QStringList> pages = PrintedPages(*OpenRows(c.rows));
    ASSERT_EQ(static_cast<int>(pages.size()), c.pages) << c.rows;
    EXPECT_EQ(PdfPageCount(dialogs.printToPdf), c.pages) << c.rows;
    std::vector<int> records;
    for (int p = 1; p <= c.pages; ++p) {
      const QStringList& page = pages[static_cast<std::size_t>(p - 1)];
      ASSERT_GE(page.size(), 3) << c.rows << " page " << p;
      EXPECT_EQ(page.back().simplified(),
                QStringLiteral("rows.pvd Page %1 of %2").arg(p).arg(c.pages))
          << c.rows;
      const int top = p == 1 ? 3 : 0;
      EXPECT_EQ(page[top].simplified(), heading) << c.rows << " page " << p;
      EXPECT_EQ(page[top + 1].simplified(), QString(47, '-')) << c.rows << " page " << p;
      const std::vector<int> on = RecordsOn(page);
      EXPECT_EQ(static_cast<int>(on.size()), page.size() - top - 3) << c.rows << " page " << p;
      records.insert(records.end(), on.begin(), on.end());
    }
    std::vector<int> all(static_cast<std::size_t>(c.rows));
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(records, all) << c.rows;
  }
}

// "Print Preview" shows over its list what "Print" prints, and prints nothing itself; its
// "Print" asks for the printer and prints the same pages. Both lists that print have it.
TEST_F(ListWindowsTest, PreviewShowsWhatIsPrintedAndPrintsOnRequest) {
  panel().clickToolbar(QStringLiteral("List"));
  for (int i = 0; i < 3; ++i) Tick();
  OpenFile(QStringLiteral("a.pvd"), kFile);
  for (ListWindow* list : {static_cast<ListWindow*>(recording().realTimeList()),
                           static_cast<ListWindow*>(recording().fileList())}) {
    dialogs.shown.clear();
    dialogs.previewPdf = Path(QStringLiteral("preview.pdf"));
    list->clickToolbar(QStringLiteral("Print Preview"));
    ASSERT_EQ(dialogs.of(QStringLiteral("preview")).size(), 1u);
    EXPECT_EQ(dialogs.of(QStringLiteral("preview"))[0].owner, list);
    EXPECT_TRUE(dialogs.of(QStringLiteral("printer")).empty());
    const std::vector<QStringList> preview = PdfPages(dialogs.previewPdf);
    ASSERT_EQ(preview.size(), 1u);
    EXPECT_EQ(RecordsOn(preview[0]), (std::vector<int>{1, 2, 3}));

    dialogs.previewAnswers.push_back(true);
    EXPECT_EQ(PrintedPages(*list, QStringLiteral("Print Preview")), preview);
    EXPECT_EQ(dialogs.of(QStringLiteral("printer")).size(), 1u);
    EXPECT_TRUE(TimersRunning());
  }
}

// On screen every column of the live list shows its header and its widest number whole.
TEST_F(ListWindowsTest, LiveListColumnsShowTheirHeadersWhole) {
  panel().clickToolbar(QStringLiteral("List"));
  RealTimeList* list = recording().realTimeList();
  list->show();
  QHeaderView* header = list->GridN->horizontalHeader();
  const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  const QString texts[] = {QStringLiteral("      No.s"), QStringLiteral("            Date Time"),
                           UnitField(kUnitWatts)};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(list->GridN->model()->headerData(c, Qt::Horizontal).toString(), texts[c]);
    EXPECT_LE(header->fontMetrics().horizontalAdvance(texts[c]) + margins,
              list->GridN->columnWidth(c))
        << c;
  }
  EXPECT_LE(list->GridN->fontMetrics().horizontalAdvance(ListNumberCell(345600)) + margins,
            list->GridN->columnWidth(0));
}

TEST_F(ListWindowsTest, LiveListSavesAlongsideARecording) {
  Record(Path(QStringLiteral("rec.pvd")));
  panel().clickToolbar(QStringLiteral("List"));
  RealTimeList* list = recording().realTimeList();
  ASSERT_NE(list, nullptr);

  // Saved right after opening: the header line only.
  SaveAs(*list, QStringLiteral("empty.pvd"));
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("empty.pvd"))),
            HeaderText(kUnitWatts).toLatin1() + "\r\n");

  Tick();
  Tick();
  EXPECT_EQ(list->GridN->model()->rowCount(), 2);
  SaveAs(*list, QStringLiteral("live.pvd"));
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("live.pvd"))),
            HeaderText(kUnitWatts).toLatin1() +
                "\r\n      1\t2026/12/04 09:30:00\t98.76\t\r\n"
                "      2\t2026/12/04 09:30:00\t98.76\t\r\n");
  EXPECT_EQ(list->windowTitle(), QStringLiteral("Real Time List"));

  // The recording goes on in its own file.
  EXPECT_EQ(transfer().recorder.recordFileName(), Path(QStringLiteral("rec.pvd")));
  Tick();
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("rec.pvd"))).count('\n'), 4);
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

TEST_F(ListWindowsTest, DataListServesTheLoggerAndSavesItsLines) {
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
  const QByteArray lines[] = {"         1\t  26/12/04 09:30:00\t 0123.\t",
                              "         2\t  26/12/04 09:31:00\t 0124.\t"};
  for (const QByteArray& l : lines) sink.AddEntry(QString::fromLatin1(l));
  EXPECT_EQ(list->ListData->model()->rowCount(), 2);

  SaveAs(*list, QStringLiteral("logger.pvd"));
  EXPECT_EQ(list->windowTitle(), QStringLiteral("DataList"));
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("logger.pvd"))),
            HeaderText(kUnitWatts).toLatin1() + "\r\n" + lines[0] + "\r\n" + lines[1] + "\r\n");

  sink.Close();
  EXPECT_FALSE(sink.IsOpen());
}

// A saved DataList opens again into the file list with the same lines, also when a reading
// held control bytes.
TEST_F(ListWindowsTest, SavedDataListOpensAgainWithTheSameLines) {
  program.dataList().Show(kUnitBtu);
  const QStringList entries = {QStringLiteral("         1\t  26/12/04 09:30:00\t 12.5\t"),
                               QStringLiteral("         2\t  26/12/04 09:30:01\t ?3?4\t"),
                               QStringLiteral("        10\t  26/12/04 09:30:10\t 300\t")};
  for (const QString& line : entries) program.dataList().AddEntry(line);
  const QString title = recording().dataList()->TitleText();
  dialogs.saveAnswers.push_back(Path(QStringLiteral("logger.pvd")));
  recording().dataList()->clickToolbar(QStringLiteral("Save"));
  FileList* list = OpenFile(QStringLiteral("logger.pvd"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Entries().count(), entries.size());
  for (int i = 0; i < entries.size(); ++i) EXPECT_EQ(list->Entries().line(i), entries[i]);
  EXPECT_EQ(list->TitleText(), title);
}

// The file list and the DataList offer the same statistics and CSV export.
TEST_F(ListWindowsTest, StatisticsAndCsvExportOfBothLists) {
  TitledList* fileList = OpenFile(QStringLiteral("a.pvd"), kFile);
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
    // The report names the file the figures come from; a downloaded list has none yet.
    EXPECT_EQ(w->SourceFiles(),
              list == fileList ? QStringList{Path(QStringLiteral("a.pvd"))} : QStringList{});
    // What was assumed comes first, the time zone that splits the days included.
    std::map<QString, QString> figures;
    for (int r = 0; r < w->GridFigures->rowCount(); ++r)
      figures[w->GridFigures->item(r, 0)->text()] = w->GridFigures->item(r, 1)->text();
    EXPECT_EQ(w->GridFigures->item(0, 0)->text(), QStringLiteral("Site"));
    EXPECT_EQ(figures["Site"], QStringLiteral("none given"));
    EXPECT_EQ(figures["Time zone"], QString::fromUtf8(QTimeZone::systemTimeZoneId()));
    EXPECT_EQ(figures["Readings"], QStringLiteral("2"));
    EXPECT_EQ(figures["Unreadable"], QStringLiteral("1"));
    EXPECT_EQ(figures["Energy"], QStringLiteral("0.09 Btu/ft2"));
    // The monthly table below the daily one, and both in the copy.
    ASSERT_EQ(w->GridMonths->rowCount(), 1);
    EXPECT_EQ(w->GridMonths->horizontalHeaderItem(2)->text(), QStringLiteral("Energy (Btu/ft2)"));
    EXPECT_EQ(w->GridMonths->item(0, 0)->text(), QStringLiteral("2026-12"));
    EXPECT_EQ(w->GridMonths->item(0, 2)->text(), QStringLiteral("0.09"));
    w->CmdCopy->click();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("Unit\tBtu/(ft)2.h\nReadings\t2\n")));
    EXPECT_TRUE(copied.endsWith(QStringLiteral(
        "\n\nDate\tReadings\tMin\tMax\tMean\tEnergy (Btu/ft2)\tPeak sun hours\tGaps\n"
        "2026-12-04\t2\t12.5\t300\t156.25\t0.09\t0.000\t0\n"
        "\nMonth\tDays\tEnergy (Btu/ft2)\tMean daily peak sun hours\n"
        "2026-12\t1\t0.09\t0.000\n")))
        << copied.toStdString();
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
  OpenFile(QStringLiteral("h.pvd"), kHeaderOnly)->clickToolbar(QStringLiteral("Statistics"));
  ASSERT_EQ(dialogs.of("message").size(), 1u);
  EXPECT_EQ(dialogs.of("message")[0].text,
            QStringLiteral("There is no readable reading in this list."));
}

}  // namespace
}  // namespace solardesk
