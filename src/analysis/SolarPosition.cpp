#include "SolarPosition.h"

#include <cmath>
#include <numbers>

#include "SolarTerms.h"

namespace solardesk {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kJ2000 = 2451545.0;
constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kSecondsPerDay = 86400;
constexpr double kEarthRadius = 6378140;         // metres
constexpr double kEarthFlattening = 0.99664719;  // polar over equatorial radius
constexpr double kSunRadius = 0.26667;           // degrees
constexpr double kHorizonRefraction = 0.5667;    // degrees

double Rad(double degrees) {
  return degrees * kPi / 180;
}
double Deg(double radians) {
  return radians * 180 / kPi;
}

// An angle brought into 0..360 degrees.
double Wrap(double degrees) {
  const double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360 : d;
}

// Σ_i t^i Σ_k A cos(B + C t), divided by 1e8: the Earth's heliocentric longitude or latitude in
// radians, or its distance in AU.
double EarthSeries(std::span<const std::span<const solar_terms::EarthTerm>> series, double t) {
  double sum = 0;
  double power = 1;
  for (const auto& terms : series) {
    double s = 0;
    for (const solar_terms::EarthTerm& term : terms) s += term.a * std::cos(term.b + term.c * t);
    sum += s * power;
    power *= t;
  }
  return sum / 1e8;
}

double Cubic(double a0, double a1, double a2, double a3, double t) {
  return ((a3 * t + a2) * t + a1) * t + a0;
}

struct Nutation {
  double longitude = 0;  // degrees
  double obliquity = 0;  // degrees
};

// T in Julian ephemeris centuries.
Nutation ComputeNutation(double t) {
  const double x[5] = {
      Cubic(297.85036, 445267.111480, -0.0019142, 1.0 / 189474, t),  // elongation of the Moon
      Cubic(357.52772, 35999.050340, -0.0001603, -1.0 / 300000, t),  // anomaly of the Sun
      Cubic(134.96298, 477198.867398, 0.0086972, 1.0 / 56250, t),    // anomaly of the Moon
      Cubic(93.27191, 483202.017538, -0.0036825, 1.0 / 327270, t),   // latitude of the Moon
      Cubic(125.04452, -1934.136261, 0.0020708, 1.0 / 450000, t)};   // ascending node
  Nutation n;
  for (const solar_terms::NutationTerm& term : solar_terms::Nutation()) {
    double argument = 0;
    for (int j = 0; j < 5; ++j) argument += x[j] * term.y[j];
    n.longitude += (term.a + term.b * t) * std::sin(Rad(argument));
    n.obliquity += (term.c + term.d * t) * std::cos(Rad(argument));
  }
  n.longitude /= 36000000;
  n.obliquity /= 36000000;
  return n;
}

// The mean obliquity of the ecliptic in arc seconds (Laskar), u in ten thousands of Julian
// years from J2000.0.
double MeanObliquity(double u) {
  static constexpr double kCoefficients[] = {84381.448, -4680.93, -1.55, 1999.25, -51.38, -249.67,
                                             -39.05,    7.12,     27.87, 5.79,    2.45};
  double sum = 0;
  for (int i = 10; i >= 0; --i) sum = sum * u + kCoefficients[i];
  return sum;
}

// The refraction of an elevation of the Sun's centre `e0` (degrees) above the horizon.
double Refraction(double e0, const SolarConditions& c) {
  if (e0 < -(kSunRadius + kHorizonRefraction)) return 0;
  return c.pressure / 1010 * 283 / (273 + c.temperature) * 1.02 /
         (60 * std::tan(Rad(e0 + 10.3 / (e0 + 5.11))));
}

double JulianDay(double utc) {
  return utc / kSecondsPerDay + kUnixEpochJulianDay;
}

// The mean sidereal time at Greenwich in degrees.
double MeanSiderealTime(double jd) {
  const double jc = (jd - kJ2000) / 36525;
  return Wrap(280.46061837 + 360.98564736629 * (jd - kJ2000) + 0.000387933 * jc * jc -
              jc * jc * jc / 38710000);
}

SunGeocentric ComputeGeocentric(double utc, double deltaT) {
  SunGeocentric g;
  const double jde = JulianDay(utc) + deltaT / kSecondsPerDay;
  const double jce = (jde - kJ2000) / 36525;
  const double jme = jce / 10;

  // Geocentric ecliptic position of the Sun.
  const double heliocentricLongitude = Wrap(Deg(EarthSeries(solar_terms::Longitude(), jme)));
  const double heliocentricLatitude = Deg(EarthSeries(solar_terms::Latitude(), jme));
  g.distance = EarthSeries(solar_terms::Radius(), jme);
  const double theta = Wrap(heliocentricLongitude + 180);
  const double beta = -heliocentricLatitude;

  const Nutation nutation = ComputeNutation(jce);
  g.nutationLongitude = nutation.longitude;
  g.nutationObliquity = nutation.obliquity;
  g.obliquity = MeanObliquity(jme / 10) / 3600 + nutation.obliquity;
  g.equinoxEquation = nutation.longitude * std::cos(Rad(g.obliquity));
  const double aberration = -20.4898 / (3600 * g.distance);
  const double lambda = theta + nutation.longitude + aberration;

  // Geocentric equatorial position.
  const double l = Rad(lambda), e = Rad(g.obliquity), b = Rad(beta);
  g.rightAscension =
      Wrap(Deg(std::atan2(std::sin(l) * std::cos(e) - std::tan(b) * std::sin(e), std::cos(l))));
  g.declination =
      Deg(std::asin(std::sin(b) * std::cos(e) + std::cos(b) * std::sin(e) * std::sin(l)));
  return g;
}

// The position seen from the site, the Earth turned to `utc`.
SolarPosition Topocentric(const SunGeocentric& g, double utc, const Site& site,
                          const SolarConditions& conditions) {
  SolarPosition p;
  p.geocentric = g;
  p.siderealTime = Wrap(MeanSiderealTime(JulianDay(utc)) + g.equinoxEquation);

  // Parallax of the observer's place on the ellipsoid.
  const double hourAngle = Rad(Wrap(p.siderealTime + site.longitude - g.rightAscension));
  const double phi = Rad(site.latitude);
  const double delta = Rad(g.declination);
  const double xi = Rad(8.794 / (3600 * g.distance));
  const double u = std::atan(kEarthFlattening * std::tan(phi));
  const double x = std::cos(u) + site.elevation / kEarthRadius * std::cos(phi);
  const double y = kEarthFlattening * std::sin(u) + site.elevation / kEarthRadius * std::sin(phi);
  const double denominator = std::cos(delta) - x * std::sin(xi) * std::cos(hourAngle);
  const double deltaAlpha = std::atan2(-x * std::sin(xi) * std::sin(hourAngle), denominator);
  const double topoDelta =
      std::atan2((std::sin(delta) - y * std::sin(xi)) * std::cos(deltaAlpha), denominator);
  const double topoHourAngle = hourAngle - deltaAlpha;

  const double e0 = Deg(std::asin(std::sin(phi) * std::sin(topoDelta) +
                                  std::cos(phi) * std::cos(topoDelta) * std::cos(topoHourAngle)));
  p.zenith = 90 - (e0 + Refraction(e0, conditions));
  const double gamma = std::atan2(std::sin(topoHourAngle), std::cos(topoHourAngle) * std::sin(phi) -
                                                               std::tan(topoDelta) * std::cos(phi));
  p.azimuth = Wrap(Deg(gamma) + 180);
  return p;
}

}  // namespace

SolarPosition ComputeSolarPosition(double utc, const Site& site,
                                   const SolarConditions& conditions) {
  return Topocentric(ComputeGeocentric(utc, conditions.deltaT), utc, site, conditions);
}

SolarTrack::SolarTrack(const Site& site, const SolarConditions& conditions)
    : site_(site), conditions_(conditions) {}

SolarPosition SolarTrack::At(double utc) {
  const double hour = std::floor(utc / kNodeSeconds);
  if (!hasNodes_ || hour != hour_) {
    const bool next = hasNodes_ && hour == hour_ + 1;
    from_ = next ? to_ : ComputeGeocentric(hour * kNodeSeconds, conditions_.deltaT);
    to_ = ComputeGeocentric((hour + 1) * kNodeSeconds, conditions_.deltaT);
    hour_ = hour;
    hasNodes_ = true;
  }
  const double f = (utc - hour_ * kNodeSeconds) / kNodeSeconds;
  auto between = [f](double a, double b) { return a + f * (b - a); };
  double ascensionStep = to_.rightAscension - from_.rightAscension;  // across 360 to 0
  if (ascensionStep > 180) ascensionStep -= 360;
  if (ascensionStep < -180) ascensionStep += 360;
  SunGeocentric g;
  g.rightAscension = Wrap(from_.rightAscension + f * ascensionStep);
  g.declination = between(from_.declination, to_.declination);
  g.distance = between(from_.distance, to_.distance);
  g.nutationLongitude = between(from_.nutationLongitude, to_.nutationLongitude);
  g.nutationObliquity = between(from_.nutationObliquity, to_.nutationObliquity);
  g.obliquity = between(from_.obliquity, to_.obliquity);
  g.equinoxEquation = between(from_.equinoxEquation, to_.equinoxEquation);
  return Topocentric(g, utc, site_, conditions_);
}

}  // namespace solardesk
