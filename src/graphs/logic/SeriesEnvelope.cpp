#include "SeriesEnvelope.h"

#include <algorithm>
#include <cmath>

namespace solardesk {

SeriesEnvelope::SeriesEnvelope(std::vector<float> series) : values_(std::move(series)) {
  const int n = size();
  std::vector<Run> runs(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) runs[static_cast<std::size_t>(i)] = {i, i};
  while (runs.size() > 1) {
    std::vector<Run> next((runs.size() + 1) / 2);
    for (std::size_t b = 0; b < next.size(); ++b) {
      Run r = runs[2 * b];
      if (2 * b + 1 < runs.size()) {
        const Run& o = runs[2 * b + 1];
        if (values_[static_cast<std::size_t>(o.first)] < values_[static_cast<std::size_t>(r.first)])
          r.first = o.first;
        if (values_[static_cast<std::size_t>(o.second)] >
            values_[static_cast<std::size_t>(r.second)])
          r.second = o.second;
      }
      next[b] = r;
    }
    levels_.push_back(next);
    runs = std::move(next);
  }
}

PlotPoints SeriesEnvelope::PointsFor(double xMin, double xMax, int maxRuns) const {
  PlotPoints p;
  const int n = size();
  if (n == 0 || !std::isfinite(xMin) || !std::isfinite(xMax)) return p;
  // Value i (from 0) lies at X = i + 1.
  const double lo = std::clamp(std::floor(xMin) - 2, 0.0, n - 1.0);
  const double hi = std::clamp(std::ceil(xMax), 0.0, n - 1.0);
  const int first = static_cast<int>(lo);
  const int last = static_cast<int>(hi);
  if (first > last) return p;

  auto add = [&](int i) {
    p.keys.push_back(i + 1.0);
    p.values.push_back(values_[static_cast<std::size_t>(i)]);
  };
  maxRuns = std::max(maxRuns, 1);
  const int count = last - first + 1;
  if (count <= 2 * maxRuns) {
    p.keys.reserve(count);
    p.values.reserve(count);
    for (int i = first; i <= last; ++i) add(i);
    return p;
  }
  std::size_t level = 1;
  while ((last >> level) - (first >> level) + 1 > maxRuns && level < levels_.size()) ++level;
  const std::vector<Run>& runs = levels_[level - 1];
  p.keys.reserve(2 * maxRuns + 2);
  p.values.reserve(2 * maxRuns + 2);
  for (int b = first >> level; b <= (last >> level); ++b) {
    const auto [low, high] = runs[static_cast<std::size_t>(b)];
    add(std::min(low, high));
    if (low != high) add(std::max(low, high));
  }
  return p;
}

}  // namespace solardesk
