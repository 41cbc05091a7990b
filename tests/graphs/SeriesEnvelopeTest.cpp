#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "graphs/logic/SeriesEnvelope.h"

namespace solardesk {
namespace {

std::vector<float> Wave(int n) {
  std::vector<float> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = static_cast<float>((i * 37) % 1000);
  return v;
}

TEST(SeriesEnvelope, AShortRangeGivesEveryValueWithOneMoreEachSide) {
  const SeriesEnvelope e(Wave(345600));
  const PlotPoints p = e.PointsFor(100, 200, 800);
  ASSERT_EQ(p.keys.size(), 103);
  EXPECT_EQ(p.keys.front(), 99);
  EXPECT_EQ(p.keys.back(), 201);
  EXPECT_EQ(p.values[1], (99 * 37) % 1000);  // value at X = 100
}

// An unreadable record (NaN) is a break where every record is drawn; drawn in runs, a run shows
// its numbers and breaks only where it holds none.
TEST(SeriesEnvelope, UnreadableRecordsBreakTheLineOnlyWhereARunHasNoNumber) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<float> v(4000, 10.0f);
  v[0] = nan;  // first of its run: the run's extremes are still numbers
  v[5] = 50.0f;
  for (int i = 2048; i < 4000; ++i) v[static_cast<std::size_t>(i)] = nan;
  const SeriesEnvelope e(v);
  const PlotPoints close = e.PointsFor(1, 3, 800);
  ASSERT_GE(close.values.size(), 2);
  EXPECT_TRUE(std::isnan(close.values[0]));
  const PlotPoints wide = e.PointsFor(1, 4000, 4);
  ASSERT_FALSE(wide.values.empty());
  EXPECT_FALSE(std::isnan(wide.values.front()));
  EXPECT_EQ(*std::max_element(wide.values.begin(), wide.values.begin() + 2), 50.0f);
  EXPECT_TRUE(std::isnan(wide.values.back()));
}

TEST(SeriesEnvelope, ALongRangeKeepsEveryExtremeInFewPoints) {
  std::vector<float> v = Wave(345600);
  v[200001] = 9999;  // a one-second spike
  v[300003] = -5;    // and a dip
  const SeriesEnvelope e(v);
  const PlotPoints p = e.PointsFor(1, 345600, 800);
  EXPECT_LE(p.keys.size(), 2 * 800);
  EXPECT_GT(p.keys.size(), 800);
  EXPECT_TRUE(std::is_sorted(p.keys.begin(), p.keys.end()));
  EXPECT_EQ(*std::max_element(p.values.begin(), p.values.end()), 9999);
  EXPECT_EQ(*std::min_element(p.values.begin(), p.values.end()), -5);
  EXPECT_TRUE(p.keys.contains(200002));
  EXPECT_TRUE(p.keys.contains(300004));
  EXPECT_EQ(p.keys.front(), 1);
  EXPECT_GE(p.keys.back(), 345600 - 512);
}

TEST(SeriesEnvelope, RangesBeyondTheSeriesAreSafe) {
  const SeriesEnvelope e(Wave(10));
  EXPECT_EQ(e.PointsFor(-50, 0, 800).keys, (QVector<double>{1}));
  EXPECT_EQ(e.PointsFor(20, 40, 800).keys, (QVector<double>{10}));
  EXPECT_EQ(e.PointsFor(1, 1e300, 800).keys.size(), 10);
  EXPECT_TRUE(e.PointsFor(qInf(), 3, 800).keys.isEmpty());
  EXPECT_EQ(e.PointsFor(1, 10, 0).keys.size(), 2);  // one run: its lowest and highest value
  EXPECT_TRUE(SeriesEnvelope().PointsFor(1, 10, 800).keys.isEmpty());
  EXPECT_EQ(SeriesEnvelope({7.0f}).PointsFor(1, 1, 800).values, (QVector<double>{7}));
}

}  // namespace
}  // namespace solardesk
