#include "Transposition.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace solardesk {
namespace {

double Rad(double degrees) {
  return degrees * std::numbers::pi / 180;
}

// The share of the sky dome a plane tilted by `tilt` sees.
double SkyViewFactor(double tilt) {
  return (1 + std::cos(Rad(tilt))) / 2;
}

double HayDavies(double tilt, double cosIncidence, const SunAndSky& sun) {
  // The lowest cos z (the Sun a degree above the horizon) keeps the ratio of beam on the plane
  // to beam on the horizontal finite at sunrise and sunset.
  const double ratio = std::max(cosIncidence, 0.0) / std::max(std::cos(Rad(sun.zenith)), 0.01745);
  const double anisotropy = sun.sky.dni / sun.extraterrestrial;
  return sun.sky.dhi * (anisotropy * ratio + (1 - anisotropy) * SkyViewFactor(tilt));
}

// The brightening coefficients of Perez, Ineichen, Seals, Michalsky and Stewart (1990), table 6
// ("all sites composite"): F1 = f11 + f12 Δ + f13 z, F2 = f21 + f22 Δ + f23 z, z in radians, one
// row per class of sky clearness ε.
struct PerezRow {
  double f11, f12, f13, f21, f22, f23;
};
constexpr PerezRow kPerez[] = {
    {-0.008, 0.588, -0.062, -0.060, 0.072, -0.022}, {0.130, 0.683, -0.151, -0.019, 0.066, -0.029},
    {0.330, 0.487, -0.221, 0.055, -0.064, -0.026},  {0.568, 0.187, -0.295, 0.109, -0.152, -0.014},
    {0.873, -0.392, -0.362, 0.226, -0.462, 0.001},  {1.132, -1.237, -0.412, 0.288, -0.823, 0.056},
    {1.060, -1.600, -0.359, 0.264, -1.127, 0.131},  {0.678, -0.327, -0.250, 0.156, -1.377, 0.251}};
// The lower bounds of the clearness classes 2 to 8 (class 1 starts at 1, overcast).
constexpr double kClearnessBounds[] = {1.065, 1.23, 1.5, 1.95, 2.8, 4.5, 6.2};

double Perez(double tilt, double cosIncidence, const SunAndSky& sun) {
  const double dhi = sun.sky.dhi;
  if (!(dhi > 0)) return 0;
  const double z = Rad(sun.zenith);
  const double kz3 = 1.041 * z * z * z;
  const double clearness = ((dhi + sun.sky.dni) / dhi + kz3) / (1 + kz3);
  const double brightness = dhi * sun.airMass / sun.extraterrestrial;
  const auto row = static_cast<std::size_t>(
      std::upper_bound(std::begin(kClearnessBounds), std::end(kClearnessBounds), clearness) -
      std::begin(kClearnessBounds));
  const PerezRow& c = kPerez[row];
  const double f1 = std::max(0.0, c.f11 + c.f12 * brightness + c.f13 * z);
  const double f2 = c.f21 + c.f22 * brightness + c.f23 * z;
  // The circumsolar ratio with the horizontal's cosine held at that of 85° near the horizon.
  const double circumsolar = std::max(cosIncidence, 0.0) / std::max(std::cos(z), std::cos(Rad(85)));
  return dhi * ((1 - f1) * SkyViewFactor(tilt) + f1 * circumsolar + f2 * std::sin(Rad(tilt)));
}

}  // namespace

double CosAngleOfIncidence(double tilt, double planeAzimuth, double zenith, double sunAzimuth) {
  const double t = Rad(tilt), z = Rad(zenith);
  return std::cos(z) * std::cos(t) +
         std::sin(z) * std::sin(t) * std::cos(Rad(sunAzimuth - planeAzimuth));
}

double SkyDiffuse(SkyDiffuseModel model, double tilt, double planeAzimuth, const SunAndSky& sun) {
  const double cosIncidence = CosAngleOfIncidence(tilt, planeAzimuth, sun.zenith, sun.azimuth);
  double diffuse = 0;
  switch (model) {
    case SkyDiffuseModel::Isotropic:
      diffuse = sun.sky.dhi * SkyViewFactor(tilt);
      break;
    case SkyDiffuseModel::HayDavies:
      diffuse = HayDavies(tilt, cosIncidence, sun);
      break;
    case SkyDiffuseModel::Perez:
      diffuse = Perez(tilt, cosIncidence, sun);
      break;
  }
  return std::max(diffuse, 0.0);
}

double GroundReflected(double tilt, double ghi, double albedo) {
  return ghi * albedo * (1 - std::cos(Rad(tilt))) / 2;
}

PlaneIrradiance PlaneOfArray(SkyDiffuseModel model, const Site& site, const SunAndSky& sun) {
  PlaneIrradiance p;
  const double cosIncidence = CosAngleOfIncidence(site.tilt, site.azimuth, sun.zenith, sun.azimuth);
  if (sun.zenith < 90) p.direct = sun.sky.dni * std::max(cosIncidence, 0.0);
  p.skyDiffuse = SkyDiffuse(model, site.tilt, site.azimuth, sun);
  p.groundReflected = GroundReflected(site.tilt, sun.sky.ghi, site.albedo);
  p.global = p.direct + p.skyDiffuse + p.groundReflected;
  return p;
}

}  // namespace solardesk
