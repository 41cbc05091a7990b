#pragma once

namespace solardesk {

// Irradiance split as the solar-resource tools split it, W/m2: global and diffuse on the
// horizontal, direct on a plane normal to the Sun's rays (so that the direct part on the
// horizontal is dni cos z).
struct SkyIrradiance {
  double ghi = 0;
  double dni = 0;
  double dhi = 0;
};

// The Linke turbidity: the number of clean, dry atmospheres that would dim the direct beam as
// much as the real one (about 2 for a clear mountain sky, 3 to 4 for a clear sky over a plain,
// 6 and more for hazy air).
inline constexpr double kDefaultLinkeTurbidity = 3.0;

// The cloudless sky of Ineichen and Perez (2002) for an apparent zenith angle in degrees, the
// absolute air mass, the Linke turbidity, the elevation of the site in metres and the
// extraterrestrial irradiance in W/m2:
//   GHI = cg1 I0 cos z exp(-cg2 AM (fh1 + fh2 (TL - 1))),
//   DNI = min(b I0 exp(-0.09 AM (TL - 1)), GHI (1 - (0.1 - 0.2 e^-TL) / (0.1 + 0.882 / fh1)) / cos
//   z), DHI = GHI - DNI cos z,
// with fh1 = e^(-h/8000), fh2 = e^(-h/1250), cg1 = 5.09e-5 h + 0.868, cg2 = 3.92e-5 h + 0.0387,
// b = 0.664 + 0.163 / fh1. All 0 with the Sun at or below the horizon.
SkyIrradiance IneichenPerezClearSky(double apparentZenith, double absoluteAirMass,
                                    double linkeTurbidity, double elevation,
                                    double extraterrestrial);

}  // namespace solardesk
