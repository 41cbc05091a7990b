#include "PlotRanges.h"

#include <algorithm>

namespace solardesk {

PlotRanges DefaultRanges(int pointCount) {
  return {{1.0, static_cast<double>(std::max(pointCount, 1))}, {0.0, 10000.0}};
}

AxisRange ShownRange(AxisRange range) {
  if (range.min > range.max) std::swap(range.min, range.max);
  if (range.min == range.max) return {range.min - 0.5, range.max + 0.5};
  return range;
}

QPointF MiddleOf(const PlotRanges& visible) {
  return {(visible.x.max + visible.x.min) / 2, (visible.y.max + visible.y.min) / 2};
}

}  // namespace solardesk
