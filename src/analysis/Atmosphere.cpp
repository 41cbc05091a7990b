#include "Atmosphere.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "data/SampleTime.h"

namespace solardesk {

double StandardPressure(double elevation) {
  return 100 * std::pow((44331.514 - elevation) / 11880.516, 1 / 0.1902632);
}

double KastenYoungAirMass(double apparentZenith) {
  const double z = std::min(apparentZenith, 90.0);
  return 1 / (std::cos(z * std::numbers::pi / 180) + 0.50572 * std::pow(96.07995 - z, -1.6364));
}

double AbsoluteAirMass(double relativeAirMass, double pressure) {
  return relativeAirMass * pressure / 101325;
}

double ExtraterrestrialIrradiance(int dayOfYear, double solarConstant) {
  const double g = 2 * std::numbers::pi * (dayOfYear - 1) / 365;
  return solarConstant * (1.000110 + 0.034221 * std::cos(g) + 0.001280 * std::sin(g) +
                          0.000719 * std::cos(2 * g) + 0.000077 * std::sin(2 * g));
}

int DayOfYear(qint64 utc) {
  const qint64 day = DayOf(utc);
  return static_cast<int>(day - DaysFromCivil(CivilFromDays(day).year, 1, 1)) + 1;
}

}  // namespace solardesk
