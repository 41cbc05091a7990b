#include "PlotCursor.h"

#include <algorithm>
#include <cmath>

namespace solardesk {

std::optional<RecordPoint> NearestRecord(std::span<const float> series, double x) {
  if (series.empty() || std::isnan(x)) return std::nullopt;
  const double last = static_cast<double>(series.size());
  const int record = static_cast<int>(std::floor(std::clamp(x, 1.0, last) + 0.5));
  return RecordPoint{record, series[static_cast<std::size_t>(record - 1)]};
}

}  // namespace solardesk
