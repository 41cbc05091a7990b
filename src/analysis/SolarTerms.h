#pragma once

#include <span>

namespace solardesk::solar_terms {

// The periodic terms of the Earth's heliocentric position (VSOP87 as truncated for the solar
// position algorithm of Reda and Andreas): each series i contributes A cos(B + C t) times t^i,
// t in Julian ephemeris millennia from J2000.0, and the sums are in 1e-8 radians or 1e-8 AU.
struct EarthTerm {
  double a;
  double b;
  double c;
};

// Longitude L0..L5, latitude B0..B1, radius vector R0..R4.
std::span<const std::span<const EarthTerm>> Longitude();
std::span<const std::span<const EarthTerm>> Latitude();
std::span<const std::span<const EarthTerm>> Radius();

// The periodic terms of the nutation in longitude and in obliquity (IAU 1980): the argument is
// the sum of y[j] times the j-th fundamental argument (mean elongation of the Moon, mean anomaly
// of the Sun, mean anomaly of the Moon, Moon's argument of latitude, longitude of the ascending
// node); the nutation in longitude is (a + b T) sin(argument), that in obliquity
// (c + d T) cos(argument), in units of 0.0001 arc second, T in Julian ephemeris centuries.
struct NutationTerm {
  signed char y[5];
  double a;
  double b;
  double c;
  double d;
};

std::span<const NutationTerm> Nutation();

}  // namespace solardesk::solar_terms
