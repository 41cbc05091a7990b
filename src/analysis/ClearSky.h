#pragma once

#include <QtGlobal>
#include <optional>
#include <span>
#include <vector>

#include "EnergyUnit.h"
#include "Site.h"

namespace solardesk {

// Global horizontal irradiance under a cloudless sky by the Haurwitz model:
// 1098 cos z exp(-0.057 / cos z) W/m2 for a zenith angle z in degrees, 0 at or below the
// horizon.
double HaurwitzGhi(double zenithDegrees);

// The Haurwitz irradiance at a site at `utc` seconds since 1970-01-01T00:00:00Z, the Sun placed
// by the solar position algorithm (SolarPosition.h) with its usual conditions.
double ClearSkyGhi(const Site& site, qint64 utc);

// The clear-sky irradiance at each of `instants`, in `unit` (W/m2 converted for Btu/ft2.h): that
// of ClearSkyGhi within 0.01 W/m2, a long series in time order at a small part of its cost
// (the Sun placed once a minute).
std::vector<double> ClearSkySeries(const Site& site, std::span<const qint64> instants,
                                   IrradianceUnit unit);

// What the readings amount to beside a cloudless sky: the clear-sky energy over the same
// instants, integrated as the readings are (same trapezoids, same gap limit, gaps left out),
// in the energy unit of the readings; and the clear-sky index, measured over clear-sky energy,
// when the clear-sky energy is above 0.
struct ClearSkyFigures {
  double energy = 0;
  std::optional<double> index;
};

ClearSkyFigures ComputeClearSky(const Site& site, std::span<const qint64> instants,
                                double measuredEnergy, IrradianceUnit unit);

}  // namespace solardesk
