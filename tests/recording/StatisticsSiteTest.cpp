#include <gtest/gtest.h>

#include <QTableWidget>
#include <cmath>

#include "analysis/ClearSky.h"
#include "analysis/SiteSettings.h"
#include "data/SampleTime.h"
#include "recording/ui/StatisticsWindow.h"
#include "support/ScriptedDialogs.h"

namespace solardesk::testing {
namespace {

QStringList Labels(const StatisticsWindow& w) {
  QStringList labels;
  for (int r = 0; r < w.GridFigures->rowCount(); ++r) labels << w.GridFigures->item(r, 0)->text();
  return labels;
}

TEST(StatisticsWindowSite, ClearSkyFiguresOnceASiteIsSet) {
  SaveSite(std::nullopt);
  // A day of readings every 5 minutes at Cape Town (UTC+2) at a quarter of the clear sky.
  const Site capeTown{-33.9, 18.4, 0};
  ReadingSeries series;
  const qint64 midnight = DaysFromCivil(2026, 12, 21) * kSecondsPerDay - 2 * 3600;
  for (qint64 t = midnight; t <= midnight + kSecondsPerDay; t += 300) {
    series.instants.push_back(t);
    series.offsets.push_back(2 * 3600);
    series.values.push_back(ClearSkyGhi(capeTown, t) / 4);
    series.entries.push_back(static_cast<int>(series.values.size()) - 1);
  }
  ScriptedDialogs dialogs;
  const SeriesStatistics statistics = ComputeStatistics(series, QStringLiteral("W/(M)2"));
  StatisticsWindow w(statistics, series, QStringLiteral("a.pvd"), dialogs, {}, nullptr);
  EXPECT_FALSE(Labels(w).join(',').contains("Clear-sky"));

  dialogs.inputAnswers = {"-33.9,18.4"};
  w.CmdSite->click();
  ASSERT_EQ(dialogs.of("input").size(), 1u);
  EXPECT_EQ(dialogs.of("input")[0].owner, &w);
  const int rows = w.GridFigures->rowCount();
  ASSERT_GE(rows, 2);
  EXPECT_EQ(Labels(w).mid(rows - 2), (QStringList{"Clear-sky energy", "Clear-sky index"}));
  EXPECT_EQ(w.GridFigures->item(rows - 1, 1)->text(), "0.250");
  const QString energy = w.GridFigures->item(rows - 2, 1)->text();
  EXPECT_TRUE(energy.endsWith(" Wh/m2")) << energy.toStdString();
  // Readings at a quarter of the clear sky: four times their energy.
  EXPECT_NEAR(energy.section(' ', 0, 0).toDouble(), 4 * statistics.energy, 0.01);

  // The month has them too.
  ASSERT_EQ(w.GridMonths->rowCount(), 1);
  ASSERT_EQ(w.GridMonths->columnCount(), 6);
  EXPECT_EQ(w.GridMonths->horizontalHeaderItem(4)->text(), "Clear-sky index");
  EXPECT_EQ(w.GridMonths->item(0, 4)->text(), "0.250");

  // A window opened later shows the kept site's figures at once (Cancel keeping the site is
  // the site dialog's test).
  StatisticsWindow later(statistics, series, QStringLiteral("a.pvd"), dialogs, {}, nullptr);
  EXPECT_EQ(Labels(later), Labels(w));

  // The sensor lying flat, set beside Ineichen's sky instead of Haurwitz's.
  dialogs.inputAnswers = {"0", "2"};
  dialogs.chooseAnswers = {1};
  w.CmdSensor->click();
  EXPECT_TRUE(dialogs.inputAnswers.empty());
  EXPECT_TRUE(dialogs.chooseAnswers.empty());
  ASSERT_EQ(dialogs.of("choose").size(), 1u);
  EXPECT_EQ(dialogs.of("choose")[0].owner, &w);
  const ClearSkyFigures ineichen =
      ComputeClearSky(capeTown, series.instants, statistics.energy, statistics.irradianceUnit,
                      {ClearSkyModel::Ineichen, 2});
  const QString ineichenEnergy = w.GridFigures->item(rows - 2, 1)->text();
  EXPECT_NEAR(ineichenEnergy.section(' ', 0, 0).toDouble(), ineichen.energy, 0.01);
  EXPECT_GT(std::abs(ineichen.energy - 4 * statistics.energy), 1);
  SaveFlatClearSkyModel(ClearSkyModel::Haurwitz);
  SaveSite(std::nullopt);
}

}  // namespace
}  // namespace solardesk::testing
