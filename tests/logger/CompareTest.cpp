#include <qcustomplot.h>

#include "LoggerFixture.h"
#include "logger/logic/LoggerTexts.h"

namespace solardesk::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class CompareTest : public LoggerAppTest {
 protected:
  void AddSet(const char* start, const char* unit, std::vector<QString> readings) {
    meter->AddSet(QString::fromLatin1(start), QStringLiteral("000000060"),
                  QString::fromLatin1(unit), readings);
  }
  // Opens the Memory window, marks the rows and presses "Compare".
  void Compare(std::vector<int> rows) {
    ClickToolbar("Logger");
    ASSERT_NE(memory(), nullptr);
    for (const int row : rows) memory()->MarkRow(row, true);
    meter->received.clear();
    memory()->CmdCompare->click();
  }
  void ExpectOneMessageAndNoPlot(const QString& contains) {
    const auto m = Messages();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_TRUE(m[0].text.contains(contains)) << m[0].text.toStdString();
    EXPECT_EQ(app.plotWindow(), nullptr);
    EXPECT_TRUE(TimersRunning());
    EXPECT_TRUE(memory()->isEnabled());
    EXPECT_TRUE(app.panel().Toolbar1->isEnabled());
  }
};

TEST_F(CompareTest, MarkedSetsAreDownloadedOneAfterAnotherIntoOnePlot) {
  AddSet("26/06/01 08:00:00", "W", {"1.0", "2.0", "3.0"});
  AddSet("26/06/02 12:00:00", "W", {"4.0"});
  AddSet("26/06/03 07:59:00", "W", {"5.0", "6.0"});
  Compare({0, 2});
  EXPECT_EQ(Commands(4), (std::vector<Bytes>{{0x00, 0x02, 0x07, 0x01}, {0x00, 0x02, 0x07, 0x03}}));
  EXPECT_TRUE(port.pending.empty());
  EXPECT_TRUE(Messages().empty());
  // A click in the marking column downloads nothing.
  QTableWidget* grid = memory()->GridSet;
  meter->received.clear();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualItemRect(grid->item(1, MemoryWindow::kMarkColumn)).center());
  EXPECT_TRUE(meter->received.empty());
  EXPECT_TRUE(dataList.shownUnits.empty()) << "the DataList is left alone";
  EXPECT_TRUE(TimersRunning());
  Plot* p = app.plotWindow();
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->SeriesCount(), 2);
  EXPECT_EQ(p->Series(0).name, QStringLiteral("2026/06/01 08:00:00"));
  EXPECT_EQ(p->Series(1).name, QStringLiteral("2026/06/03 07:59:00"));
  EXPECT_EQ(p->Series(1).values, (std::vector<float>{5, 6}));
  EXPECT_EQ(p->Series(0).unit, kUnitWatts);
  EXPECT_EQ(p->PlotPointCount, 3);
  EXPECT_TRUE(p->CWGraph1->legend->visible());
  // By time of day the second set's 08:00 lies over the first set's.
  p->SetOverlay(OverlayMode::ByTimeOfDay);
  EXPECT_EQ(p->SeriesGraph(1)->data()->at(1)->key, p->SeriesGraph(0)->data()->at(0)->key);
}

TEST_F(CompareTest, ASetThatStopsMidwayOrAnotherUnitOrOneMarkedSetPlotsNothing) {
  AddSet("26/06/01 08:00:00", "W", std::vector<QString>(200, QStringLiteral("1.0")));
  AddSet("26/06/02 08:00:00", "W", std::vector<QString>(200, QStringLiteral("2.0")));
  AddSet("26/06/03 08:00:00", "Btu", {QStringLiteral("3.0")});
  meter->sets[1].blocksSent = 10;
  Compare({0, 1});
  EXPECT_EQ(Commands(4), (std::vector<Bytes>{{0x00, 0x02, 0x07, 0x01}, {0x00, 0x02, 0x07, 0x02}}));
  ExpectOneMessageAndNoPlot(loggertext::kMeterStopped);

  dialogs.shown.clear();
  Compare({0, 2});
  ExpectOneMessageAndNoPlot(kUnitBtu);
  EXPECT_TRUE(Messages()[0].text.contains(kUnitWatts));

  dialogs.shown.clear();
  Compare({2});
  EXPECT_TRUE(Commands(4).empty());
  ExpectOneMessageAndNoPlot(QStringLiteral("Mark from 2 to 8 record sets"));
}

}  // namespace
}  // namespace solardesk::testing
