#pragma once

#include <QString>
#include <vector>

#include "EnergyUnit.h"
#include "ReadingSeries.h"

namespace solardesk {

// The energy of the readings in a range of list entries, for a view that shows part of a list
// (the file plot, whose X axis counts the entries from 1). Built once per series; each range
// then costs two binary searches.
class RangeEnergy {
 public:
  RangeEnergy(const ReadingSeries& series, IrradianceUnit unit);

  // The energy of the segments between readable samples whose entries lie in [fromX, toX],
  // entries counted from 1; gaps of the whole series are left out as the statistics leave
  // them.
  double Between(double fromX, double toX) const;
  // "Energy in view: 123.45 Wh/m2, 0.123 peak sun hours".
  QString Text(double fromX, double toX) const;

 private:
  std::vector<int> entries_;     // entry of each sample, counted from 1
  std::vector<double> running_;  // running integral over the samples
  IrradianceUnit unit_;
};

}  // namespace solardesk
