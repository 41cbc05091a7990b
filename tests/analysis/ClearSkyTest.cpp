#include <gtest/gtest.h>

#include "analysis/ClearSky.h"
#include "analysis/Integration.h"
#include "data/SampleTime.h"

namespace solardesk::testing {
namespace {

TEST(ClearSky, HaurwitzAtZenithAnglesWorkedByHand) {
  const struct {
    double zenith;
    double ghi;
  } cases[] = {
      {0, 1037.1643},  // 1098 e^-0.057
      {60, 489.8496},  // 549 e^-0.114
      {85, 49.7587},   // 1098 · 0.0871557 · e^-0.654006
      {90, 0},         // on the horizon
      {120, 0},        // below it
      {45, 716.2733},  // 776.4033 e^-0.0806102
  };
  for (const auto& c : cases) EXPECT_NEAR(HaurwitzGhi(c.zenith), c.ghi, 1e-3) << c.zenith;
}

// A day of readings every minute at Golden, Colorado, on 21 June 2026 (UTC-6).
struct Day {
  Site site{39.742476, -105.1786, 1830.14};
  std::vector<qint64> instants;

  Day() {
    const qint64 midnight = DaysFromCivil(2026, 6, 21) * kSecondsPerDay + 6 * 3600;
    for (qint64 t = midnight; t <= midnight + kSecondsPerDay; t += 60) instants.push_back(t);
  }
  // The integral of the clear-sky irradiance times `share`, as the readings' energy would come.
  double MeasuredEnergy(double share, IrradianceUnit unit) const {
    std::vector<double> measured = ClearSkySeries(site, instants, unit);
    for (double& v : measured) v *= share;
    return Integrate(instants, measured).valueHours;
  }
};

TEST(ClearSky, IndexOfADayAtHalfTheClearSky) {
  const Day day;
  const ClearSkyFigures w = ComputeClearSky(
      day.site, day.instants, day.MeasuredEnergy(0.5, IrradianceUnit::WattsPerSquareMetre),
      IrradianceUnit::WattsPerSquareMetre);
  EXPECT_NEAR(w.index.value_or(0), 0.5, 1e-12);
  // A midsummer day of some 14.7 hours of sun at 40° N: between 7 and 10 kWh/m2 at most.
  EXPECT_GT(w.energy, 7000);
  EXPECT_LT(w.energy, 10000);
  // The noon irradiance (sun some 73.7° high) against Haurwitz at that zenith angle.
  const qint64 noon = day.instants.front() + 13 * 3600 + 3 * 60;
  EXPECT_NEAR(ClearSkyGhi(day.site, noon), HaurwitzGhi(16.3), 3);
  // Between whole minutes the series keeps to each instant's own irradiance.
  const std::vector<qint64> between = {noon - 4 * 3600 + 17, noon + 59, noon + 6 * 3600 + 1};
  const std::vector<double> curve =
      ClearSkySeries(day.site, between, IrradianceUnit::WattsPerSquareMetre);
  for (std::size_t i = 0; i < between.size(); ++i)
    EXPECT_NEAR(curve[i], ClearSkyGhi(day.site, between[i]), 0.01) << i;

  // In Btu the clear sky comes in Btu, so the index of Btu readings is the same.
  const ClearSkyFigures btu = ComputeClearSky(
      day.site, day.instants, day.MeasuredEnergy(0.5, IrradianceUnit::BtuPerSquareFootHour),
      IrradianceUnit::BtuPerSquareFootHour);
  EXPECT_NEAR(btu.energy, w.energy / 3.15459, 1e-6);
  EXPECT_NEAR(btu.index.value_or(0), 0.5, 1e-12);

  // Readings of one night: no clear-sky energy, so no index.
  const std::vector<qint64> night(day.instants.begin(), day.instants.begin() + 180);
  const ClearSkyFigures dark = ComputeClearSky(day.site, night, 1, {});
  EXPECT_EQ(dark.energy, 0);
  EXPECT_FALSE(dark.index);
}

}  // namespace
}  // namespace solardesk::testing
