#include "Ineichen.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace solardesk {

SkyIrradiance IneichenPerezClearSky(double apparentZenith, double absoluteAirMass,
                                    double linkeTurbidity, double elevation,
                                    double extraterrestrial) {
  const double cosZ = std::cos(apparentZenith * std::numbers::pi / 180);
  if (!(cosZ > 0) || apparentZenith >= 90) return {};
  const double tl = linkeTurbidity;
  const double am = absoluteAirMass;
  const double fh1 = std::exp(-elevation / 8000);
  const double fh2 = std::exp(-elevation / 1250);
  const double cg1 = 5.09e-5 * elevation + 0.868;
  const double cg2 = 3.92e-5 * elevation + 0.0387;

  SkyIrradiance sky;
  sky.ghi = cg1 * extraterrestrial * cosZ * std::exp(-cg2 * am * (fh1 + fh2 * (tl - 1)));
  const double b = 0.664 + 0.163 / fh1;
  const double beam = b * extraterrestrial * std::exp(-0.09 * am * (tl - 1));
  // The beam may not exceed the share of the global that the model leaves to it.
  const double share = 1 - (0.1 - 0.2 * std::exp(-tl)) / (0.1 + 0.882 / fh1);
  sky.dni = std::max(0.0, std::min(beam, sky.ghi * std::max(share, 0.0) / cosZ));
  sky.dhi = sky.ghi - sky.dni * cosZ;
  return sky;
}

}  // namespace solardesk
