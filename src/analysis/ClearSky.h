#pragma once

#include <QtGlobal>
#include <optional>
#include <span>
#include <vector>

#include "ClearSkyModel.h"
#include "EnergyUnit.h"
#include "Site.h"

namespace solardesk {

// Global horizontal irradiance under a cloudless sky by the Haurwitz model:
// 1098 cos z exp(-k / cos z) W/m2 for a zenith angle z in degrees, 0 at or below the horizon.
// The extinction k is 0.057 as Reno, Hansen and Stein (2012) give the model; some tools take
// 0.059.
inline constexpr double kHaurwitzExtinction = 0.057;
double HaurwitzGhi(double zenithDegrees, double extinction = kHaurwitzExtinction);

// The Haurwitz irradiance at a site at `utc` seconds since 1970-01-01T00:00:00Z, the Sun placed
// by the solar position algorithm (SolarPosition.h) with its usual conditions.
double ClearSkyGhi(const Site& site, qint64 utc);

// The clear-sky irradiance on the sensor's plane at each of `instants`, in `unit` (W/m2
// converted for Btu/ft2.h): that of ClearSkyAt(...).plane.global, a long series in time order
// at a small part of its cost (the Sun placed once a minute and the irradiance taken in a
// straight line between). Under Haurwitz within 0.01 W/m2 of ClearSkyGhi; under Ineichen as
// close, but for the minute in which the Perez sky changes its class of clearness.
std::vector<double> ClearSkySeries(const Site& site, std::span<const qint64> instants,
                                   IrradianceUnit unit, const ClearSkyOptions& options = {});

// What the readings amount to beside a cloudless sky: the clear-sky energy over the same
// instants, integrated as the readings are (same trapezoids, same gap limit, gaps left out),
// in the energy unit of the readings; and the clear-sky index, measured over clear-sky energy,
// when the clear-sky energy is above 0.
struct ClearSkyFigures {
  double energy = 0;
  std::optional<double> index;
};

ClearSkyFigures ComputeClearSky(const Site& site, std::span<const qint64> instants,
                                double measuredEnergy, IrradianceUnit unit,
                                const ClearSkyOptions& options = {});

}  // namespace solardesk
