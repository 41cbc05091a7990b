#include <gtest/gtest.h>

#include <cmath>

#include "analysis/SolarPosition.h"
#include "data/SampleTime.h"

namespace solardesk::testing {
namespace {

qint64 Utc(int year, int month, int day, int hour, int minute, int second) {
  return DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

// The worked example of Reda and Andreas (NREL/TP-560-34302, appendix A.5): Golden, Colorado,
// 17 October 2003 12:30:30 at UTC-7. Zenith and azimuth to 1e-4 degrees leave no room for a
// fault in the nutation, obliquity, sidereal time or equatorial coordinates on the way.
TEST(SolarPosition, NrelWorkedExample) {
  const Site golden{39.742476, -105.1786, 1830.14};
  const SolarPosition p =
      ComputeSolarPosition(Utc(2003, 10, 17, 19, 30, 30), golden, {67, 820, 11});
  EXPECT_NEAR(p.zenith, 50.11162, 1e-4);
  EXPECT_NEAR(p.azimuth, 194.34024, 1e-4);
}

// A published table of the algorithm's results (pvlib's solar position tests, sea level,
// 1013.25 mbar, 12 °C, ΔT 67 s, longitude 10° E): midday, afternoon, a leap day, the southern
// hemisphere, the equator and the Sun a degree above the horizon, where refraction is largest.
TEST(SolarPosition, PublishedTable) {
  const struct {
    qint64 utc;
    double latitude;
    double zenith;
    double azimuth;
  } rows[] = {
      {Utc(2020, 10, 17, 12, 30, 0), 45, 57.75632346, 204.9188164},
      {Utc(2020, 10, 17, 14, 30, 0), 45, 71.31607797, 234.19049983},
      {Utc(2020, 2, 29, 12, 30, 0), 45, 54.22007761, 197.67009996},
      {Utc(2020, 10, 17, 12, 30, 0), -45, 39.87940067, 326.23446721},
      {Utc(2020, 10, 17, 12, 30, 0), 0, 23.13598231, 245.09065324},
      {Utc(2020, 10, 17, 5, 50, 0), 45, 88.54152518, 104.53989829},
  };
  for (const auto& r : rows) {
    const SolarPosition p = ComputeSolarPosition(r.utc, Site{r.latitude, 10, 0}, {67, 1013.25, 12});
    EXPECT_NEAR(p.zenith, r.zenith, 1e-3) << r.utc << " at " << r.latitude;
    EXPECT_NEAR(p.azimuth, r.azimuth, 1e-3) << r.utc << " at " << r.latitude;
  }
}

// Example 25.b of Meeus, Astronomical Algorithms (2nd ed.), the Sun by the full VSOP87 theory
// on which the algorithm's Earth series are built, 1992 October 13.0 TD (so ΔT is 0): apparent
// right ascension 13h13m30.749s, declination -7°47'01.74", distance 0.99760775 AU.
TEST(SolarPosition, MeeusWorkedExample) {
  const SolarPosition sun = ComputeSolarPosition(Utc(1992, 10, 13, 0, 0, 0), Site{}, {0, 1010, 10});
  EXPECT_NEAR(sun.geocentric.rightAscension, (13 + 13 / 60.0 + 30.749 / 3600) * 15, 3e-4);
  EXPECT_NEAR(sun.geocentric.declination, -(7 + 47 / 60.0 + 1.74 / 3600), 3e-4);
  EXPECT_NEAR(sun.geocentric.distance, 0.99760775, 1e-6);
}

// The track over a series keeps to the full algorithm: a day of the March equinox, when the
// right ascension passes from 360 to 0 degrees, every 7 minutes, and then back in time.
TEST(SolarPosition, TrackKeepsToTheFullAlgorithm) {
  const Site capeTown{-33.9, 18.4, 10};
  SolarTrack track(capeTown);
  std::vector<qint64> times;
  for (qint64 t = Utc(2026, 3, 20, 0, 0, 0); t < Utc(2026, 3, 21, 0, 0, 0); t += 421)
    times.push_back(t);
  times.push_back(Utc(2026, 3, 19, 12, 0, 0));
  double worst = 0;
  for (qint64 t : times) {
    const SolarPosition full = ComputeSolarPosition(t, capeTown);
    const SolarPosition fast = track.At(t);
    const double ascension =
        std::remainder(fast.geocentric.rightAscension - full.geocentric.rightAscension, 360.0);
    worst =
        std::max({worst, std::abs(fast.zenith - full.zenith),
                  std::abs(std::remainder(fast.azimuth - full.azimuth, 360.0)), std::abs(ascension),
                  std::abs(fast.geocentric.declination - full.geocentric.declination)});
  }
  EXPECT_LT(worst, 1e-5);
}

}  // namespace
}  // namespace solardesk::testing
