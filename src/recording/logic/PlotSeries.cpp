#include "PlotSeries.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <limits>

#include "data/RecordSeries.h"

namespace solardesk {
namespace {

float ToSingle(double v) {
  if (std::isnan(v)) return std::numeric_limits<float>::quiet_NaN();
  constexpr double kMax = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(v, -kMax, kMax));
}

}  // namespace

std::vector<float> BuildPlotSeries(const RecordSeries& records, ProgressPacer& pacer) {
  const int n = records.count();
  std::vector<float> series(static_cast<size_t>(n), std::numeric_limits<float>::quiet_NaN());
  for (int i = 1; i <= n; ++i) {
    series[static_cast<size_t>(i - 1)] = ToSingle(records.value(i - 1));
    if ((pacer.Due() || i == n) &&
        !pacer.Show(QStringLiteral("%1% Completed").arg(static_cast<long long>(i) * 100 / n)))
      break;
  }
  return series;
}

}  // namespace solardesk
