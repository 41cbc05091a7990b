#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphs/logic/PlotCursor.h"
#include "graphs/logic/PlotRanges.h"

namespace solardesk {
namespace {

// The default ranges are the Plot window's test.
TEST(VisibleArea, OrdersTheEndsWidensASingleValueAndHasAMiddle) {
  const struct {
    AxisRange typed;
    AxisRange shown;
  } cases[] = {{{1, 1200}, {1, 1200}},
               {{300, 100}, {100, 300}},
               {{1, 1}, {0.5, 1.5}},
               {{-2, -2}, {-2.5, -1.5}}};
  for (const auto& c : cases) {
    const AxisRange s = ShownRange(c.typed);
    EXPECT_EQ(s.min, c.shown.min);
    EXPECT_EQ(s.max, c.shown.max);
  }
  // Records are marked when each visible one has eight pixels.
  EXPECT_EQ(MiddleOf({{100, 300}, {200, 400}}), QPointF(200, 300));
  EXPECT_EQ(MiddleOf({{1, 2}, {0, 10000}}), QPointF(1.5, 5000));
  EXPECT_TRUE(RecordsMarked({0.5, 1.5}, 600));
  EXPECT_TRUE(RecordsMarked({1, 75}, 600));
  EXPECT_FALSE(RecordsMarked({1, 76}, 600));
  EXPECT_FALSE(RecordsMarked({1, 1200}, 600));
}

TEST(FitRanges, BothAxesAroundTheDataWithAMargin) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    std::vector<float> series;
    PlotRanges fitted;
  } cases[] = {
      {{2, 900, 450}, {{0.9, 3.1}, {-42.9, 944.9}}},
      {{nan, 10, 20, nan}, {{1.95, 3.05}, {9.5, 20.5}}},  // only the finite values count
      {{5.9f}, {{0.5, 1.5}, {5.9f - 0.5, 5.9f + 0.5}}},
      {{500, 500}, {{0.95, 2.05}, {475, 525}}},
  };
  for (const auto& c : cases) {
    const std::optional<PlotRanges> r = FitRanges(c.series);
    ASSERT_TRUE(r.has_value());
    EXPECT_NEAR(r->x.min, c.fitted.x.min, 1e-9);
    EXPECT_NEAR(r->x.max, c.fitted.x.max, 1e-9);
    EXPECT_NEAR(r->y.min, c.fitted.y.min, 1e-4);
    EXPECT_NEAR(r->y.max, c.fitted.y.max, 1e-4);
  }
  EXPECT_FALSE(FitRanges(std::span<const float>{}).has_value());
  EXPECT_FALSE(FitRanges(std::vector<float>{nan}).has_value());
}

TEST(NearestRecord, RoundsToARecordWithinTheSeries) {
  const std::vector<float> series = {5.9f, 7.6f, 1.25f};
  const struct {
    double x;
    int record;
  } cases[] = {{1.49, 1}, {1.5, 2}, {2.2, 2}, {-40, 1}, {3.7, 3}, {1e300, 3}};
  for (const auto& c : cases) {
    const std::optional<RecordPoint> at = NearestRecord(series, c.x);
    ASSERT_TRUE(at.has_value()) << c.x;
    EXPECT_EQ(at->record, c.record) << c.x;
    EXPECT_EQ(at->value, series[static_cast<std::size_t>(c.record - 1)]) << c.x;
  }
  EXPECT_FALSE(NearestRecord({}, 1).has_value());
  EXPECT_FALSE(NearestRecord(series, std::nan("")).has_value());
}

}  // namespace
}  // namespace solardesk
