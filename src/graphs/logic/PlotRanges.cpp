#include "PlotRanges.h"

#include <algorithm>
#include <cmath>

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

namespace {

constexpr double kFitMargin = 0.05;
constexpr double kSingleValueMargin = 0.5;
constexpr double kMarkRoomPixels = 8;

}  // namespace

AxisRange Widened(double lowest, double highest) {
  const double span = highest - lowest;
  const double margin =
      span > 0 ? span * kFitMargin : std::max(std::abs(lowest) * kFitMargin, kSingleValueMargin);
  return {lowest - margin, highest + margin};
}

std::optional<PlotRanges> FitRanges(std::span<const float> series) {
  std::optional<int> first;
  int last = 0;
  double lowest = 0;
  double highest = 0;
  for (std::size_t i = 0; i < series.size(); ++i) {
    const double v = series[i];
    if (!std::isfinite(v)) continue;
    const int record = static_cast<int>(i) + 1;
    if (!first) {
      first = record;
      lowest = highest = v;
    }
    last = record;
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  if (!first) return std::nullopt;
  return PlotRanges{Widened(*first, last), Widened(lowest, highest)};
}

bool RecordsMarked(AxisRange visibleX, int plotWidthPixels) {
  const double records = std::abs(visibleX.max - visibleX.min) + 1;
  return records * kMarkRoomPixels <= plotWidthPixels;
}

}  // namespace solardesk
