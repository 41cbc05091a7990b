#pragma once

#include "Atmosphere.h"
#include "Ineichen.h"
#include "Site.h"

namespace solardesk {

// Irradiance on a tilted plane from its horizontal parts. Angles in degrees; a plane is given by
// its tilt from the horizontal and the compass azimuth its face looks to (180 facing south),
// the Sun by its apparent zenith angle and its azimuth (eastward from north).

// How the diffuse light of the sky is spread over the sky dome:
// - isotropic: evenly, the plane sees (1 + cos tilt) / 2 of it;
// - Hay and Davies (1980): a circumsolar part, in the share DNI / I0, comes along the beam;
// - Perez et al. (1990): circumsolar and horizon-brightening parts weighted by the sky's
//   clearness and brightness, with the coefficients fitted to all sites ("all sites
//   composite").
enum class SkyDiffuseModel { Isotropic, HayDavies, Perez };

// The Sun and the sky at one instant: what the transposition needs.
struct SunAndSky {
  double zenith = 0;   // apparent
  double azimuth = 0;  // eastward from north
  SkyIrradiance sky;
  double extraterrestrial = kSolarConstant;  // W/m2 normal to the rays, outside the air
  double airMass = 1;                        // relative (not made absolute)
};

// The cosine of the angle between the plane's normal and the direction of the Sun; below 0 when
// the Sun is behind the plane.
double CosAngleOfIncidence(double tilt, double planeAzimuth, double zenith, double sunAzimuth);

// The diffuse light of the sky that reaches the plane, W/m2, never below 0.
double SkyDiffuse(SkyDiffuseModel model, double tilt, double planeAzimuth, const SunAndSky& sun);

// The light the ground reflects onto the plane: GHI albedo (1 - cos tilt) / 2.
double GroundReflected(double tilt, double ghi, double albedo);

// The irradiance on the plane by parts, W/m2: the beam (DNI cos AOI, 0 with the Sun behind the
// plane), the sky's diffuse light and the ground's; `global` is their sum.
struct PlaneIrradiance {
  double global = 0;
  double direct = 0;
  double skyDiffuse = 0;
  double groundReflected = 0;
};

// The plane of the sensor at `site` (its tilt, azimuth and the albedo of the ground there).
PlaneIrradiance PlaneOfArray(SkyDiffuseModel model, const Site& site, const SunAndSky& sun);

}  // namespace solardesk
