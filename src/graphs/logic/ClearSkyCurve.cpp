#include "ClearSkyCurve.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/ClearSky.h"
#include "panel/logic/DisplayDecode.h"

namespace solardesk {
namespace {

// Moments from year 1 to year 9999, about.
constexpr double kEarliest = -62135596800.0;
constexpr double kLatest = 253402300799.0;

constexpr double kStepSeconds = 300;
constexpr int kMostPoints = 20000;

}  // namespace

int ClearSkyPointCount(AxisRange utc) {
  const double span = std::abs(utc.max - utc.min);
  if (!std::isfinite(span)) return 2;
  return static_cast<int>(std::clamp(span / kStepSeconds + 1, 2.0, double{kMostPoints}));
}

std::optional<IrradianceUnit> ClearSkyUnit(const QString& seriesUnit) {
  const QString unit = seriesUnit.trimmed();
  if (unit == kUnitWatts) return IrradianceUnit::WattsPerSquareMetre;
  if (unit == kUnitBtu) return IrradianceUnit::BtuPerSquareFootHour;
  return std::nullopt;
}

PlotPoints ClearSkyCurve(const Site& site, AxisRange utc, int count, IrradianceUnit unit) {
  PlotPoints p;
  const AxisRange r = {std::min(utc.min, utc.max), std::max(utc.min, utc.max)};
  if (!std::isfinite(r.min) || !std::isfinite(r.max) || r.min < kEarliest || r.max > kLatest)
    return p;
  count = std::max(count, 2);
  std::vector<qint64> instants;
  instants.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const qint64 at = std::llround(r.min + (r.max - r.min) * i / (count - 1));
    if (instants.empty() || at > instants.back()) instants.push_back(at);
  }
  const std::vector<double> sky = ClearSkySeries(site, instants, unit);
  p.keys.reserve(static_cast<qsizetype>(instants.size()));
  p.values.reserve(static_cast<qsizetype>(instants.size()));
  for (std::size_t i = 0; i < instants.size() && i < sky.size(); ++i) {
    p.keys.push_back(static_cast<double>(instants[i]));
    p.values.push_back(sky[i]);
  }
  return p;
}

}  // namespace solardesk
