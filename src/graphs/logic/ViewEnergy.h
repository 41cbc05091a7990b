#pragma once

#include <QString>
#include <vector>

#include "Overlay.h"
#include "analysis/EnergyUnit.h"

namespace solardesk {

// The energy of the readings of one plotted series whose X lies in the visible range, on any
// X axis of the plot: the readings with a time and a number, integrated over time as the
// statistics integrate them (gaps left out). Built once per series and axis; a range then costs
// two binary searches (a walk through the series where the clock went back).
class ViewEnergy {
 public:
  ViewEnergy(const PlotSeriesData& series, OverlayMode mode, qint64 referenceDay);

  // False when no reading of the series has a time: its energy is not known.
  bool Known() const { return !keys_.empty(); }
  // The energy of the segments between readings whose X both lie in [fromX, toX].
  double Between(double fromX, double toX) const;
  IrradianceUnit Unit() const { return unit_; }

 private:
  std::vector<double> keys_;     // X of each reading, in record order
  std::vector<double> running_;  // running integral over the readings
  bool ascending_ = true;
  IrradianceUnit unit_;
};

// "123.45 Wh/m2, 0.123 peak sun hours".
QString EnergyFigure(double energy, IrradianceUnit unit);

}  // namespace solardesk
