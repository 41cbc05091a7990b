#pragma once

#include <QtGlobal>

namespace solardesk {

// What the sunlight meets on its way down, in the conventions the solar-resource tools share, so
// that figures can be compared with theirs.

// The solar constant: the irradiance at the mean Earth-Sun distance, W/m2.
inline constexpr double kSolarConstant = 1366.1;

// The pressure of the standard atmosphere at `elevation` metres above sea level, in pascals:
// 101325 Pa at sea level, 100 ((44331.514 - h) / 11880.516)^(1 / 0.1902632).
double StandardPressure(double elevation);

// The relative optical air mass by Kasten and Young (1989) for an apparent (refracted) zenith
// angle in degrees: 1 / (cos z + 0.50572 (96.07995 - z)^-1.6364). A zenith angle beyond the
// horizon is taken as 90 (the air mass of the horizon, about 37.9).
double KastenYoungAirMass(double apparentZenith);

// The relative air mass made absolute for the pressure at the site: m p / 101325.
double AbsoluteAirMass(double relativeAirMass, double pressure);

// The extraterrestrial irradiance normal to the Sun's rays on day `dayOfYear` (1 on 1 January)
// by Spencer's (1971) series for the square of the Earth-Sun distance ratio:
// E0 = 1.000110 + 0.034221 cos Γ + 0.001280 sin Γ + 0.000719 cos 2Γ + 0.000077 sin 2Γ,
// Γ = 2π (day - 1) / 365, times `solarConstant`.
double ExtraterrestrialIrradiance(int dayOfYear, double solarConstant);

// The day of the year of an instant, in UTC (`utc` seconds since 1970-01-01T00:00:00Z).
int DayOfYear(qint64 utc);

}  // namespace solardesk
