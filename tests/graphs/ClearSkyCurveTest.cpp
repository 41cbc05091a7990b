#include <gtest/gtest.h>

#include <cmath>

#include "analysis/ClearSky.h"
#include "graphs/logic/ClearSkyCurve.h"

namespace solardesk {
namespace {

TEST(ClearSkyCurve, SpreadsItsPointsOverTheVisibleMomentsAndSkipsRangesWithoutThem) {
  const Site berlin{52.52, 13.405, 34};
  const double noon = 1781262000;  // 2026-06-12T11:00:00Z, near the Sun's highest
  const IrradianceUnit w = IrradianceUnit::WattsPerSquareMetre;
  const PlotPoints p = ClearSkyCurve(berlin, {noon + 6 * 3600.0, noon - 6 * 3600.0}, 13, w);
  ASSERT_EQ(p.keys.size(), 13);
  EXPECT_EQ(p.keys.front(), noon - 6 * 3600);
  EXPECT_EQ(p.keys[6], noon);
  EXPECT_EQ(p.keys.back(), noon + 6 * 3600);
  EXPECT_NEAR(p.values[6], ClearSkyGhi(berlin, static_cast<qint64>(noon)), 0.5);
  EXPECT_LT(p.values[0], p.values[6]);

  EXPECT_TRUE(ClearSkyCurve(berlin, {NAN, noon}, 10, w).keys.empty());
  EXPECT_TRUE(ClearSkyCurve(berlin, {0, 1e15}, 10, w).keys.empty());
  EXPECT_EQ(ClearSkyCurve(berlin, {noon, noon + 1}, 100, w).keys.size(), 2);  // each moment once
}

}  // namespace
}  // namespace solardesk
