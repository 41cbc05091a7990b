#include <gtest/gtest.h>

#include <cmath>

#include "graphs/logic/Overlay.h"
#include "graphs/logic/SeriesEnvelope.h"

namespace solardesk {
namespace {

constexpr qint64 kDay = 86400;
constexpr double kNoTime = NAN;
// 2026-06-01T00:00:00 on a wall clock at +02:00.
constexpr qint64 kJuneFirst = 1780272000 - 7200;

// A series of `values` taken every `step` seconds from `start` (UTC) at +02:00; record
// `untimed` (from 0) has no readable time.
PlotSeriesData Taken(qint64 start, qint64 step, std::vector<float> values, int untimed = -1) {
  PlotSeriesData s;
  s.unit = QStringLiteral("W/(M)2");
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool timed = static_cast<int>(i) != untimed;
    s.utc.push_back(timed ? static_cast<double>(start + static_cast<qint64>(i) * step) : kNoTime);
    s.offsets.push_back(7200);
  }
  s.values = std::move(values);
  return s;
}

TEST(Overlay, LaysSeriesOfDifferentDatesAndLengthsByRecordByTimeAndByTimeOfDay) {
  // Day one from 08:00, every minute, three records; two days later from 08:01, two records
  // (the second without a time).
  const PlotSeriesData first = Taken(kJuneFirst + 8 * 3600, 60, {1, 2, 3});
  const PlotSeriesData later = Taken(kJuneFirst + 2 * kDay + 8 * 3600 + 60, 60, {5, 6, 7}, 1);
  const qint64 day = *FirstDay(first);
  EXPECT_EQ(*FirstDay(later), day + 2);
  const double eight = static_cast<double>(day * kDay + 8 * 3600);  // wall clock of day one

  const struct {
    OverlayMode mode;
    const PlotSeriesData& series;
    std::vector<double> keys;
    std::vector<float> values;
  } cases[] = {
      {OverlayMode::ByRecord, later, {1, 2, 3}, {5, 6, 7}},
      {OverlayMode::ByTime,
       first,
       {kJuneFirst + 8 * 3600.0, kJuneFirst + 8 * 3600.0 + 60, kJuneFirst + 8 * 3600.0 + 120},
       {1, 2, 3}},
      {OverlayMode::ByTime,
       later,
       {kJuneFirst + 2.0 * kDay + 8 * 3600 + 60, kJuneFirst + 2.0 * kDay + 8 * 3600 + 180},
       {5, 7}},
      {OverlayMode::ByTimeOfDay, first, {eight, eight + 60, eight + 120}, {1, 2, 3}},
      // Moved two days back: 08:01 of day three lies at 08:01 of day one.
      {OverlayMode::ByTimeOfDay, later, {eight + 60, eight + 180}, {5, 7}},
  };
  for (const auto& c : cases) {
    const OverlayPoints p = OverlayOf(c.series, c.mode, day);
    EXPECT_EQ(p.keys, c.keys) << static_cast<int>(c.mode);
    EXPECT_EQ(p.values, c.values) << static_cast<int>(c.mode);
  }
}

TEST(Overlay, TimesThatRunBackAreDrawnInOrderAndUntimedSeriesDrawNothingOnATimeAxis) {
  PlotSeriesData s = Taken(1000, 10, {1, 2, 3});
  s.utc = {1000, 990, 1010};
  const OverlayPoints p = OverlayOf(s, OverlayMode::ByTime, 0);
  EXPECT_EQ(p.keys, (std::vector<double>{990, 1000, 1010}));
  EXPECT_EQ(p.values, (std::vector<float>{2, 1, 3}));

  PlotSeriesData untimed;
  untimed.values = {1, 2};
  EXPECT_FALSE(FirstDay(untimed).has_value());
  EXPECT_TRUE(OverlayOf(untimed, OverlayMode::ByTimeOfDay, 0).keys.empty());
  EXPECT_EQ(OverlayOf(untimed, OverlayMode::ByRecord, 0).keys.size(), 2u);
}

TEST(SeriesEnvelope, KeyedSeriesPicksTheValuesInViewAndTheNearestKey) {
  std::vector<float> values(1000);
  std::vector<double> keys(1000);
  for (int i = 0; i < 1000; ++i) {
    values[static_cast<std::size_t>(i)] = static_cast<float>(i % 7);
    keys[static_cast<std::size_t>(i)] = 5000.0 + 10 * i;
  }
  values[500] = 99;  // a spike inside a decimated run
  const SeriesEnvelope e(values, keys);
  const PlotPoints all = e.PointsFor(5000, 15000, 50);
  EXPECT_LE(all.keys.size(), 102);
  EXPECT_EQ(all.keys.front(), 5000);
  EXPECT_TRUE(std::is_sorted(all.keys.begin(), all.keys.end()));
  EXPECT_NE(std::find(all.values.begin(), all.values.end(), 99), all.values.end());
  // A close view: every value, with one beyond each end.
  const PlotPoints some = e.PointsFor(5100, 5140, 50);
  EXPECT_EQ(some.keys, (QVector<double>{5090, 5100, 5110, 5120, 5130, 5140, 5150}));

  const struct {
    double x;
    int index;
  } nearest[] = {{0, 0}, {5004, 0}, {5005, 1}, {5016, 2}, {1e9, 999}};
  for (const auto& c : nearest) EXPECT_EQ(e.Nearest(c.x), c.index) << c.x;
  EXPECT_FALSE(e.Nearest(NAN));

  const std::optional<PlotRanges> fit =
      FitRanges(std::vector<SeriesEnvelope>{e, SeriesEnvelope({-10, 10})});
  ASSERT_TRUE(fit);
  EXPECT_DOUBLE_EQ(fit->x.min, 1 - 14989 * 0.05);
  EXPECT_DOUBLE_EQ(fit->y.max, 99 + 109 * 0.05);
}

}  // namespace
}  // namespace solardesk
