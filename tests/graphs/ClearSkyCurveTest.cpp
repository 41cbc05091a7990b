#include <gtest/gtest.h>

#include <cmath>

#include "analysis/ClearSky.h"
#include "graphs/logic/ClearSkyCurve.h"

namespace solardesk {
namespace {

TEST(ClearSkyCurve, OnlyTheMetersTwoUnitsGetAClearSky) {
  const struct {
    const char* text;
    std::optional<IrradianceUnit> unit;
  } cases[] = {{"         W/(M)2", IrradianceUnit::WattsPerSquareMetre},
               {"    Btu/(ft)2.h", IrradianceUnit::BtuPerSquareFootHour},
               {"Date Time", std::nullopt},
               {"", std::nullopt}};
  for (const auto& c : cases)
    EXPECT_EQ(ClearSkyUnit(QString::fromLatin1(c.text)), c.unit) << c.text;
}

TEST(ClearSkyCurve, FollowsTheClearSkyOverTheVisibleMomentsInTheSeriesUnit) {
  const Site berlin{52.52, 13.405, 34};
  const double noon = 1781262000;  // 2026-06-12T11:00:00Z, near the Sun's highest
  const PlotPoints w = ClearSkyCurve(berlin, {noon + 6 * 3600.0, noon - 6 * 3600.0}, 13,
                                     IrradianceUnit::WattsPerSquareMetre);
  ASSERT_EQ(w.keys.size(), 13);
  EXPECT_EQ(w.keys.front(), noon - 6 * 3600);
  EXPECT_EQ(w.keys[6], noon);
  EXPECT_EQ(w.keys.back(), noon + 6 * 3600);
  EXPECT_NEAR(w.values[6], ClearSkyGhi(berlin, static_cast<qint64>(noon)), 0.5);
  EXPECT_GT(w.values[6], 800);
  EXPECT_LT(w.values[0], w.values[6]);

  const PlotPoints btu = ClearSkyCurve(berlin, {noon - 6 * 3600.0, noon + 6 * 3600.0}, 13,
                                       IrradianceUnit::BtuPerSquareFootHour);
  ASSERT_EQ(btu.values.size(), 13);
  EXPECT_NEAR(btu.values[6],
              FromWattsPerSquareMetre(w.values[6], IrradianceUnit::BtuPerSquareFootHour), 1e-6);
  EXPECT_LT(btu.values[6], w.values[6] / 3);

  EXPECT_TRUE(
      ClearSkyCurve(berlin, {NAN, noon}, 10, IrradianceUnit::WattsPerSquareMetre).keys.empty());
  EXPECT_TRUE(
      ClearSkyCurve(berlin, {0, 1e15}, 10, IrradianceUnit::WattsPerSquareMetre).keys.empty());
  // A range of a second or two gives the moments once each.
  EXPECT_EQ(
      ClearSkyCurve(berlin, {noon, noon + 1}, 100, IrradianceUnit::WattsPerSquareMetre).keys.size(),
      2);
}

}  // namespace
}  // namespace solardesk
