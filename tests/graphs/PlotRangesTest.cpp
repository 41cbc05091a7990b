#include <gtest/gtest.h>

#include "graphs/logic/PlotRanges.h"

namespace solardesk {
namespace {

TEST(DefaultRanges, RunFromOneToThePointCount) {
  const struct {
    int count;
    double xMax;
  } cases[] = {{1200, 1200}, {345600, 345600}, {1, 1}, {0, 1}, {-5, 1}};
  for (const auto& c : cases) {
    const PlotRanges r = DefaultRanges(c.count);
    EXPECT_EQ(r.x.min, 1) << c.count;
    EXPECT_EQ(r.x.max, c.xMax) << c.count;
    EXPECT_EQ(r.y.min, 0);
    EXPECT_EQ(r.y.max, 10000);
  }
}

TEST(ShownRange, OrdersTheEndsAndWidensASingleValue) {
  const struct {
    AxisRange typed;
    AxisRange shown;
  } cases[] = {
      {{1, 1200}, {1, 1200}},
      {{300, 100}, {100, 300}},
      {{1, 1}, {0.5, 1.5}},
      {{-2, -2}, {-2.5, -1.5}},
  };
  for (const auto& c : cases) {
    const AxisRange s = ShownRange(c.typed);
    EXPECT_EQ(s.min, c.shown.min);
    EXPECT_EQ(s.max, c.shown.max);
  }
}

TEST(MiddleOf, IsTheCentreOfTheVisibleArea) {
  EXPECT_EQ(MiddleOf({{100, 300}, {200, 400}}), QPointF(200, 300));
  EXPECT_EQ(MiddleOf({{1, 2}, {0, 10000}}), QPointF(1.5, 5000));
}

}  // namespace
}  // namespace solardesk
