#include "ViewEnergy.h"

#include <algorithm>
#include <cmath>

#include "analysis/Integration.h"

namespace solardesk {

ViewEnergy::ViewEnergy(const PlotSeriesData& series, OverlayMode mode, qint64 referenceDay)
    : unit_(UnitOfText(series.unit)) {
  const double shift = DayShift(series, mode, referenceDay);
  std::vector<qint64> instants;
  std::vector<double> values;
  for (std::size_t i = 0; i < series.values.size(); ++i) {
    if (!series.timed(i) || !std::isfinite(series.values[i])) continue;
    instants.push_back(std::llround(series.utc[i]));
    values.push_back(series.values[i]);
    keys_.push_back(OverlayKey(series, i, mode, shift));
  }
  ascending_ = std::is_sorted(keys_.begin(), keys_.end());
  running_ = RunningIntegral(instants, values, GapLimit(instants));
}

double ViewEnergy::Between(double fromX, double toX) const {
  if (!(fromX <= toX) || keys_.empty()) return 0;
  if (ascending_) {
    const auto first = std::lower_bound(keys_.begin(), keys_.end(), fromX);
    const auto end = std::upper_bound(keys_.begin(), keys_.end(), toX);
    if (first >= end) return 0;
    return running_[static_cast<std::size_t>(end - keys_.begin() - 1)] -
           running_[static_cast<std::size_t>(first - keys_.begin())];
  }
  const auto in = [&](std::size_t i) { return keys_[i] >= fromX && keys_[i] <= toX; };
  double energy = 0;
  for (std::size_t i = 0; i + 1 < keys_.size(); ++i)
    if (in(i) && in(i + 1)) energy += running_[i + 1] - running_[i];
  return energy;
}

QString EnergyFigure(double energy, IrradianceUnit unit) {
  return QStringLiteral("%1 %2, %3 peak sun hours")
      .arg(QString::number(energy, 'f', 2), EnergyUnitText(unit),
           QString::number(PeakSunHours(energy, unit), 'f', 3));
}

}  // namespace solardesk
