#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Integration.h"
#include "analysis/SeriesStatistics.h"

namespace solardesk::testing {
namespace {

// Samples taken faster than the stamps' one second share a stamp; a run of k of them counts as
// spread over its second. Energies in value-hours with values of 3600, so in value-seconds.
TEST(Integration, RunsOfEqualStampsSpreadOverTheirSecond) {
  const struct {
    const char* name;
    std::vector<qint64> instants;
    double gapLimit;
    double seconds;  // the integral over values of 3600
    qint64 gaps, gapSeconds;
  } cases[] = {
      // Two per second: at 10, 10.5, 11, 11.5.
      {"pairs", {10, 10, 11, 11}, 3, 1.5, 0, 0},
      // All in one second: no positive spacing, the limit of a one-second spacing.
      {"one second", {5, 5, 5, 5}, 3, 0.75, 0, 0},
      // Positive spacings 100, 1, 1, 1: the median 1 s makes 100 s a hole after 2/3 s.
      {"run before a hole", {0, 0, 0, 100, 101, 102, 103}, 3, 2.0 / 3 + 3, 1, 100},
      // Back in time: a gap of no length between two runs.
      {"step back", {0, 1, 1, 0, 1}, 3, 1 + 0.5 + 1, 1, 0},
      // Whole seconds as before: spacings 10, 10, 10, 970, 10.
      {"plain", {0, 10, 20, 30, 1000, 1010}, 30, 40, 1, 970},
  };
  for (const auto& c : cases) {
    const std::vector<double> values(c.instants.size(), 3600);
    EXPECT_DOUBLE_EQ(GapLimit(c.instants), c.gapLimit) << c.name;
    const Integral sum = Integrate(c.instants, values);
    EXPECT_NEAR(sum.valueHours, c.seconds, 1e-12) << c.name;
    EXPECT_EQ(sum.gaps, c.gaps) << c.name;
    EXPECT_EQ(sum.gapSeconds, c.gapSeconds) << c.name;
    EXPECT_NEAR(RunningIntegral(c.instants, values, c.gapLimit).back(), c.seconds, 1e-12) << c.name;
  }
  // A range that starts inside a run: from the second 10 of {10, 10, 11, 11} (0.5 s in) on.
  const std::vector<qint64> pairs = {10, 10, 11, 11};
  EXPECT_NEAR(Integrate(pairs, std::vector<double>(4, 3600), 3, 1, 3).valueHours, 1, 1e-12);
}

// 600 readings 0.4 s apart at 500 W/m2, stamped to the second (two or three to a stamp): four
// minutes of light, 500 · 239.6 / 3600 = 33.28 Wh/m2, without a gap.
TEST(Integration, ReadingsLessThanASecondApart) {
  ReadingSeries series;
  const qint64 start = 1782036000;  // 2026-06-21 10:00:00 UTC
  for (int i = 0; i < 600; ++i) {
    series.instants.push_back(start + (i * 4) / 10);
    series.offsets.push_back(0);
    series.values.push_back(500);
    series.entries.push_back(i);
  }
  const SeriesStatistics s = ComputeStatistics(series, QStringLiteral("W/(M)2"));
  EXPECT_NEAR(s.energy, 500 * 239.6 / 3600, 500 * 239.6 / 3600 * 1e-3);
  EXPECT_EQ(s.gaps, 0);
  ASSERT_EQ(s.days.size(), 1u);
  EXPECT_DOUBLE_EQ(s.days[0].energy, s.energy);
}

}  // namespace
}  // namespace solardesk::testing
