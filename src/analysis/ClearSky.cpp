#include "ClearSky.h"

#include <cmath>
#include <numbers>

#include "Integration.h"
#include "SolarPosition.h"

namespace solardesk {

double HaurwitzGhi(double zenithDegrees) {
  const double cosZ = std::cos(zenithDegrees * std::numbers::pi / 180);
  if (!(cosZ > 0) || zenithDegrees >= 90) return 0;
  return 1098 * cosZ * std::exp(-0.057 / cosZ);
}

double ClearSkyGhi(const Site& site, qint64 utc) {
  return HaurwitzGhi(ComputeSolarPosition(static_cast<double>(utc), site).zenith);
}

std::vector<double> ClearSkySeries(const Site& site, std::span<const qint64> instants,
                                   IrradianceUnit unit) {
  std::vector<double> values(instants.size());
  for (std::size_t i = 0; i < instants.size(); ++i)
    values[i] = FromWattsPerSquareMetre(ClearSkyGhi(site, instants[i]), unit);
  return values;
}

ClearSkyFigures ComputeClearSky(const Site& site, std::span<const qint64> instants,
                                double measuredEnergy, IrradianceUnit unit) {
  const std::vector<double> clear = ClearSkySeries(site, instants, unit);
  ClearSkyFigures f;
  f.energy = Integrate(instants, clear).valueHours;
  if (f.energy > 0) f.index = measuredEnergy / f.energy;
  return f;
}

}  // namespace solardesk
