#include <qcustomplot.h>
#include <QFile>
#include <QTest>
#include <cstdlib>
#include <ctime>

#include "AppFixture.h"
#include "analysis/SiteSettings.h"
#include "recording/ui/RecordingWindows.h"

namespace solardesk {
namespace {

// The plot on a Central European wall clock (the autumn change puts 02:00 to 03:00 twice).
class PlotOverlayWindowTest : public testing::AppFixture {
 protected:
  PlotOverlayWindowTest() {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
  }
  ~PlotOverlayWindowTest() override {
    unsetenv("TZ");
    tzset();
  }

  QString WriteFile(const char* name, const char* unit, const std::vector<const char*>& times) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(QByteArray("      No.s\t            Date Time\t") + unit + "\t\r\n");
    for (std::size_t i = 0; i < times.size(); ++i)
      file.write(QByteArray("      ") + QByteArray::number(static_cast<int>(i + 1)) + "\t" +
                 times[i] + "\t " + QByteArray::number(static_cast<int>(100 * (i + 1))) + "\t\r\n");
    return path;
  }
  Plot* PlotFile(const QString& path) {
    dialogs.openAnswers.push_back(path);
    app.panel().clickToolbar(QStringLiteral("Open"));
    if (!app.recording().fileList()) return nullptr;
    app.recording().fileList()->clickToolbar(QStringLiteral("Plot"));
    Plot* p = app.plotWindow();
    if (p) p->CWGraph1->replot();
    return p;
  }
};

// 2026-10-25T00:00:00Z, 02:00 on its first pass.
constexpr double kFirstTwo = 1792886400;

TEST_F(PlotOverlayWindowTest, OnATimeAxisTheFieldsTakeTimesAndTheCursorReadsTheClock) {
  Plot* p =
      PlotFile(WriteFile("autumn.pvd", "         W/(M)2",
                         {"2026/10/24 23:30:00", "2026/10/25 02:00:00", "2026/10/25 02:30:00",
                          "2026/10/25 02:00:00", "2026/10/25 02:30:00", "2026/10/25 03:00:00"}));
  ASSERT_NE(p, nullptr);
  const int width = p->width();

  emit p->CboXAxis->activated(1);
  EXPECT_EQ(p->Overlay(), OverlayMode::ByTime);
  EXPECT_EQ(p->CWGraph1->xAxis->label(), QStringLiteral("Time"));
  // Across midnight and through the repeated hour: 4.5 hours from the first to the last record.
  EXPECT_EQ(p->AxisMin[1]->text(), QStringLiteral("2026/10/24 23:30:00"));
  EXPECT_EQ(p->AxisMax[1]->text(), QStringLiteral("2026/10/25 03:00:00"));
  EXPECT_DOUBLE_EQ(p->visibleRanges().x.max - p->visibleRanges().x.min, 4.5 * 3600);
  auto data = p->CWGraph1->graph(0)->data();
  ASSERT_EQ(data->size(), 6);
  EXPECT_DOUBLE_EQ(data->at(3)->key - data->at(1)->key, 3600);  // the second pass of 02:00

  // A typed time applies at once; a half-typed one waits.
  p->AxisMax[1]->selectAll();
  QTest::keyClicks(p->AxisMax[1], QStringLiteral("2026/10/25 02:00:0"));
  EXPECT_DOUBLE_EQ(p->AxisMax[1]->value(), kFirstTwo + 7200);  // 03:00 after the change
  QTest::keyClicks(p->AxisMax[1], QStringLiteral("0"));
  EXPECT_DOUBLE_EQ(p->visibleRanges().x.max, kFirstTwo);

  p->Combo1->setCurrentIndex(p->Combo1->findText(QStringLiteral("Cursor Coordinates")));
  p->MoveCursor(1, kFirstTwo + 3600 + 100, 0);  // by the second pass of 02:00
  EXPECT_EQ(p->XPosition->text(), QStringLiteral("2026/10/25 02:00:00"));
  EXPECT_EQ(p->YPosition->text(), QStringLiteral("400.0"));
  EXPECT_EQ(p->width(), width);

  p->CmdResetClick();
  EXPECT_EQ(p->AxisMax[1]->text(), QStringLiteral("2026/10/25 03:00:00"));
  EXPECT_EQ(p->visibleRanges().y.max, 10000);

  emit p->CboXAxis->activated(0);
  EXPECT_EQ(p->CWGraph1->xAxis->label(), QStringLiteral("No.s"));
  EXPECT_EQ(p->AxisMax[1]->text(), QStringLiteral("6"));
  EXPECT_EQ(p->XPosition->text(), QStringLiteral("4"));  // the cursor went back to the middle
}

TEST_F(PlotOverlayWindowTest, AddedFilesLieOverTheFirstByTimeOfDayAndAnotherUnitIsRefused) {
  Plot* p = PlotFile(
      WriteFile("monday.pvd", "         W/(M)2", {"2026/06/01 08:00:00", "2026/06/01 08:01:00"}));
  ASSERT_NE(p, nullptr);
  dialogs.openAnswers.push_back(
      WriteFile("wednesday.pvd", "         W/(M)2",
                {"2026/06/03 07:59:00", "2026/06/03 08:00:00", "2026/06/03 08:01:00"}));
  p->CmdAddFile->click();
  ASSERT_EQ(p->SeriesCount(), 2);
  EXPECT_EQ(p->Series(1).name, QStringLiteral("wednesday.pvd  2026/06/03 07:59:00"));
  EXPECT_TRUE(p->CWGraph1->legend->visible());
  EXPECT_NE(p->SeriesGraph(0)->pen().color(), p->SeriesGraph(1)->pen().color());

  emit p->CboOverlay->activated(2);
  auto monday = p->SeriesGraph(0)->data();
  auto wednesday = p->SeriesGraph(1)->data();
  ASSERT_EQ(wednesday->size(), 3);
  EXPECT_EQ(wednesday->at(1)->key, monday->at(0)->key);  // 08:00 over 08:00
  EXPECT_EQ(p->AxisMin[1]->text(), QStringLiteral("2026/06/01 07:59:00"));

  dialogs.openAnswers.push_back(WriteFile("btu.pvd", "    Btu/(ft)2.h", {"2026/06/02 08:00:00"}));
  p->CmdAddFile->click();
  EXPECT_EQ(p->SeriesCount(), 2);
  const auto m = dialogs.of("message");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_TRUE(m[0].text.contains(QStringLiteral("Btu/(ft)2.h")));
  EXPECT_TRUE(m[0].text.contains(QStringLiteral("W/(M)2")));

  p->CboSeries->setCurrentIndex(0);
  p->CmdRemove->click();
  ASSERT_EQ(p->SeriesCount(), 1);
  EXPECT_FALSE(p->CWGraph1->legend->visible());
  EXPECT_FALSE(p->CmdRemove->isEnabled());
}

TEST_F(PlotOverlayWindowTest, WithASiteTheTimeAxisShowsTheClearSkyDashedOverTheReadings) {
  SaveSite(std::nullopt);
  Plot* p = PlotFile(
      WriteFile("june.pvd", "    Btu/(ft)2.h", {"2026/06/12 12:00:00", "2026/06/12 13:00:00"}));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->CWGraph1->yAxis->label(), QStringLiteral("    Btu/(ft)2.h"));  // the file's title
  p->SetOverlay(OverlayMode::ByTime);
  EXPECT_EQ(p->ClearSkyGraph(), nullptr);

  dialogs.inputAnswers.push_back(QStringLiteral("52.52,13.405,34"));
  p->CmdSite->click();
  QCPGraph* sky = p->ClearSkyGraph();
  ASSERT_NE(sky, nullptr);
  EXPECT_EQ(sky->pen().style(), Qt::DashLine);
  EXPECT_TRUE(p->CWGraph1->legend->visible());
  auto data = sky->data();
  ASSERT_GT(data->size(), 10);
  EXPECT_DOUBLE_EQ(data->at(0)->key, p->visibleRanges().x.min);
  // Around noon in June, in Btu/(ft)2.h: near 900 W/m2 is near 285.
  EXPECT_GT(data->at(0)->value, 250);
  EXPECT_LT(data->at(0)->value, 330);

  p->SetOverlay(OverlayMode::ByRecord);
  EXPECT_EQ(p->ClearSkyGraph(), nullptr);
  EXPECT_FALSE(p->CWGraph1->legend->visible());
  SaveSite(std::nullopt);
}

}  // namespace
}  // namespace solardesk
