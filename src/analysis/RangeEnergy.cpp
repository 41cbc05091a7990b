#include "RangeEnergy.h"

#include <algorithm>
#include <cmath>

#include "Integration.h"

namespace solardesk {

RangeEnergy::RangeEnergy(const ReadingSeries& series, IrradianceUnit unit)
    : running_(RunningIntegral(series.instants, series.values, GapLimit(series.instants))),
      unit_(unit) {
  entries_.reserve(series.size());
  for (const int e : series.entries) entries_.push_back(e + 1);
}

double RangeEnergy::Between(double fromX, double toX) const {
  if (!(fromX <= toX)) return 0;
  // The first sample at or after fromX and the last at or before toX.
  const auto first = std::lower_bound(entries_.begin(), entries_.end(), std::ceil(fromX),
                                      [](int e, double x) { return e < x; });
  const auto end = std::upper_bound(entries_.begin(), entries_.end(), std::floor(toX),
                                    [](double x, int e) { return x < e; });
  if (first >= end) return 0;
  return running_[static_cast<std::size_t>(end - entries_.begin() - 1)] -
         running_[static_cast<std::size_t>(first - entries_.begin())];
}

QString RangeEnergy::Text(double fromX, double toX) const {
  const double energy = Between(fromX, toX);
  return QStringLiteral("Energy in view: %1 %2, %3 peak sun hours")
      .arg(QString::number(energy, 'f', 2), EnergyUnitText(unit_),
           QString::number(PeakSunHours(energy, unit_), 'f', 3));
}

}  // namespace solardesk
