#include "SeriesEnvelope.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "PlotCursor.h"

namespace solardesk {

SeriesEnvelope::SeriesEnvelope(std::vector<float> series) : values_(std::move(series)) {
  BuildLevels();
}

SeriesEnvelope::SeriesEnvelope(std::vector<float> series, std::vector<double> keys)
    : values_(std::move(series)), keys_(std::move(keys)) {
  if (!keys_.empty()) keys_.resize(values_.size(), keys_.back());
  BuildLevels();
}

std::optional<int> SeriesEnvelope::Nearest(double x) const {
  const int n = size();
  if (n == 0 || std::isnan(x)) return std::nullopt;
  if (keys_.empty()) return NearestRecord(values_, x)->record - 1;
  const auto after = std::lower_bound(keys_.begin(), keys_.end(), x);
  if (after == keys_.begin()) return 0;
  if (after == keys_.end()) return n - 1;
  const auto i = static_cast<int>(after - keys_.begin());
  return x - keys_[static_cast<std::size_t>(i - 1)] < *after - x ? i - 1 : i;
}

// A run's lowest and highest value are numbers whenever the run holds one: a record that is no
// number (NaN) draws a break only where a whole run has none.
template <typename Order>
bool SeriesEnvelope::Beats(int candidate, int held, Order order) const {
  const float c = values_[static_cast<std::size_t>(candidate)];
  const float h = values_[static_cast<std::size_t>(held)];
  if (std::isnan(c)) return false;
  return std::isnan(h) || order(c, h);
}

void SeriesEnvelope::BuildLevels() {
  const int n = size();
  std::vector<Run> runs(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) runs[static_cast<std::size_t>(i)] = {i, i};
  while (runs.size() > 1) {
    std::vector<Run> next((runs.size() + 1) / 2);
    for (std::size_t b = 0; b < next.size(); ++b) {
      Run r = runs[2 * b];
      if (2 * b + 1 < runs.size()) {
        const Run& o = runs[2 * b + 1];
        if (Beats(o.first, r.first, std::less<float>())) r.first = o.first;
        if (Beats(o.second, r.second, std::greater<float>())) r.second = o.second;
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
  int first = 0;
  int last = 0;
  if (keys_.empty()) {
    // Value i (from 0) lies at X = i + 1.
    first = static_cast<int>(std::clamp(std::floor(xMin) - 2, 0.0, n - 1.0));
    last = static_cast<int>(std::clamp(std::ceil(xMax), 0.0, n - 1.0));
  } else {
    const auto below = std::lower_bound(keys_.begin(), keys_.end(), xMin) - keys_.begin();
    const auto above = std::upper_bound(keys_.begin(), keys_.end(), xMax) - keys_.begin();
    first = static_cast<int>(std::max<std::ptrdiff_t>(below - 1, 0));
    last = static_cast<int>(std::min<std::ptrdiff_t>(above, n - 1));
  }
  if (first > last) return p;

  auto add = [&](int i) {
    p.keys.push_back(key(i));
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

std::optional<PlotRanges> FitRanges(const std::vector<SeriesEnvelope>& series,
                                    const PlotPoints& alongside) {
  std::optional<PlotRanges> found;
  for (const SeriesEnvelope& s : series) {
    for (int i = 0; i < s.size(); ++i) {
      const double v = s.values()[static_cast<std::size_t>(i)];
      if (!std::isfinite(v)) continue;
      const double k = s.key(i);
      if (!found) found = PlotRanges{{k, k}, {v, v}};
      PlotRanges& r = *found;
      r = {{std::min(r.x.min, k), std::max(r.x.max, k)},
           {std::min(r.y.min, v), std::max(r.y.max, v)}};
    }
  }
  if (!found) return std::nullopt;
  PlotRanges& r = *found;
  for (qsizetype i = 0; i < std::min(alongside.keys.size(), alongside.values.size()); ++i) {
    const double k = alongside.keys[i];
    const double v = alongside.values[i];
    if (!std::isfinite(v) || k < r.x.min || k > r.x.max) continue;
    r.y = {std::min(r.y.min, v), std::max(r.y.max, v)};
  }
  return PlotRanges{Widened(r.x.min, r.x.max), Widened(r.y.min, r.y.max)};
}

}  // namespace solardesk
