#include <qcustomplot.h>
#include <QTest>
#include <QTimeZone>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "AppFixture.h"
#include "analysis/SiteSettings.h"
#include "recording/ui/RecordingWindows.h"
#include "support/FileBytes.h"

namespace solardesk {
namespace {

// The plot on a Central European wall clock (the autumn change puts 02:00 to 03:00 twice), no
// site saved.
class PlotOverlayWindowTest : public testing::AppFixture {
 protected:
  PlotOverlayWindowTest() {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    SaveSite(std::nullopt);
  }
  ~PlotOverlayWindowTest() override {
    SaveSite(std::nullopt);
    unsetenv("TZ");
    tzset();
  }

  // A data file of readings at the given local times: 100, 200, ... unless given.
  QString WriteFile(const char* name, const char* unit, const QStringList& times,
                    const std::vector<int>& values = {}) {
    QByteArray text = QByteArray("      No.s\t            Date Time\t") + unit + "\t\r\n";
    for (int i = 0; i < times.size(); ++i) {
      const int value = values.empty() ? 100 * (i + 1) : values[static_cast<std::size_t>(i)];
      text +=
          QStringLiteral("      %1\t%2\t %3\t\r\n").arg(i + 1).arg(times[i]).arg(value).toLatin1();
    }
    const QString path = dir.filePath(QString::fromLatin1(name));
    testing::WriteBytes(path, text);
    return path;
  }
  // A file in W/(M)2 of one reading every `step` seconds from `start` (local time).
  QString WriteReadings(const char* name, const QDateTime& start, int step,
                        const std::vector<int>& values) {
    QStringList times;
    for (std::size_t i = 0; i < values.size(); ++i)
      times << start.addSecs(step * static_cast<qint64>(i)).toString("yyyy/MM/dd hh:mm:ss");
    return WriteFile(name, "         W/(M)2", times, values);
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
}

// Berlin in June, at 10:00 local time on the given day.
QDateTime JuneMorning(int day) {
  return QDateTime(QDate(2026, 6, day), QTime(10, 0), QTimeZone("Europe/Berlin"));
}

// One figure per series, named by its legend entry, on every X axis and for the part in view:
// an hour of 100 W/m2 is 100 Wh/m2, an hour of 200 W/m2 the next day 200 Wh/m2.
TEST_F(PlotOverlayWindowTest, EnergyInViewGivesOneFigurePerSeriesOnEveryAxis) {
  Plot* p = PlotFile(WriteReadings("a.pvd", JuneMorning(1), 60, std::vector<int>(61, 100)));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->LblStatus->text(),
            QStringLiteral("Energy in view: 100.00 Wh/m2, 0.100 peak sun hours"));
  dialogs.openAnswers.push_back(
      WriteReadings("b.pvd", JuneMorning(2), 60, std::vector<int>(61, 200)));
  p->CmdAddFile->click();
  ASSERT_EQ(p->SeriesCount(), 2);

  const struct {
    OverlayMode mode;
    double span;  // X shown from the first reading on: records, or seconds; 0 for all
    const char* a;
    const char* b;
  } cases[] = {
      {OverlayMode::ByRecord, 0, "100.00 Wh/m2, 0.100", "200.00 Wh/m2, 0.200"},
      {OverlayMode::ByRecord, 30, "50.00 Wh/m2, 0.050", "100.00 Wh/m2, 0.100"},
      {OverlayMode::ByTime, 0, "100.00 Wh/m2, 0.100", "200.00 Wh/m2, 0.200"},
      {OverlayMode::ByTime, 3600, "100.00 Wh/m2, 0.100", "0.00 Wh/m2, 0.000"},
      {OverlayMode::ByTimeOfDay, 0, "100.00 Wh/m2, 0.100", "200.00 Wh/m2, 0.200"},
      {OverlayMode::ByTimeOfDay, 1800, "50.00 Wh/m2, 0.050", "100.00 Wh/m2, 0.100"},
  };
  for (const auto& c : cases) {
    p->SetOverlay(c.mode);
    if (c.span > 0) p->AxisMax[1]->setValue(p->AxisMin[1]->value() + c.span);
    EXPECT_EQ(p->LblStatus->text(),
              QStringLiteral("Energy in view, a.pvd  2026/06/01 10:00:00: %1 peak sun hours\n"
                             "Energy in view, b.pvd  2026/06/02 10:00:00: %2 peak sun hours")
                  .arg(QString::fromLatin1(c.a), QString::fromLatin1(c.b)))
        << static_cast<int>(c.mode) << " " << c.span;
  }
}

// "Fit" on readings far below a clear sky: the Y axis holds the clear-sky curve too.
TEST_F(PlotOverlayWindowTest, FitKeepsTheClearSkyCurveInView) {
  Plot* p = PlotFile(WriteReadings("dull.pvd", JuneMorning(12), 600, std::vector<int>(25, 100)));
  ASSERT_NE(p, nullptr);
  p->SetOverlay(OverlayMode::ByTime);
  dialogs.inputAnswers.push_back(QStringLiteral("52.52,13.405,34"));
  p->CmdSite->click();
  ASSERT_NE(p->ClearSkyGraph(), nullptr);
  p->CmdFit->click();
  const PlotRanges view = p->visibleRanges();
  EXPECT_LE(view.y.min, 100);
  int inView = 0;
  for (const QCPGraphData& d : *p->ClearSkyGraph()->data()) {
    if (d.key < view.x.min || d.key > view.x.max) continue;
    ++inView;
    EXPECT_LE(d.value, view.y.max) << d.key;
    EXPECT_GE(d.value, view.y.min) << d.key;
  }
  EXPECT_GT(inView, 10);
}

// The legend of a day's readings with their clear sky lies where no point is drawn: over the
// whole day, the morning (the curve climbs into the top right) and the afternoon.
TEST_F(PlotOverlayWindowTest, TheLegendCoversNoDrawnPoint) {
  std::vector<int> day;  // 05:00 to 21:00 every five minutes, highest at 13:00
  for (int i = 0; i <= 16 * 12; ++i)
    day.push_back(static_cast<int>(1000 * std::sin(M_PI * i / 192)));
  const QDateTime dawn = JuneMorning(12).addSecs(-5 * 3600);
  Plot* p = PlotFile(WriteReadings("day.pvd", dawn, 300, day));
  ASSERT_NE(p, nullptr);
  p->SetOverlay(OverlayMode::ByTime);
  dialogs.inputAnswers.push_back(QStringLiteral("52.52,13.405,34"));
  p->CmdSite->click();
  const double start = static_cast<double>(dawn.toSecsSinceEpoch());
  const struct {
    const char* view;
    double from;  // hours after 05:00
    double to;
  } cases[] = {{"day", 0, 16}, {"morning", 0, 8}, {"afternoon", 8, 16}};
  for (const auto& c : cases) {
    p->CmdFit->click();
    p->AxisMin[1]->setValue(start + c.from * 3600);
    p->AxisMax[1]->setValue(start + c.to * 3600);
    p->CWGraph1->replot();
    p->CWGraph1->replot();
    QCPLegend* legend = p->CWGraph1->legend;
    ASSERT_TRUE(legend->visible());
    const QRect box = legend->outerRect();
    ASSERT_FALSE(box.isEmpty());
    for (int g = 0; g < p->CWGraph1->graphCount(); ++g) {
      int drawn = 0;
      for (const QCPGraphData& d : *p->CWGraph1->graph(g)->data()) {
        if (d.key < start + c.from * 3600 || d.key > start + c.to * 3600) continue;
        ++drawn;
        const QPointF at(p->CWGraph1->xAxis->coordToPixel(d.key),
                         p->CWGraph1->yAxis->coordToPixel(d.value));
        EXPECT_FALSE(box.contains(at.toPoint()))
            << c.view << " graph " << g << " at " << d.key << " " << at.x() << "," << at.y()
            << " v " << d.value;
      }
      EXPECT_GT(drawn, 10) << c.view << " graph " << g;
    }
  }
}

}  // namespace
}  // namespace solardesk
