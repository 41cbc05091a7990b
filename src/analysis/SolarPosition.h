#pragma once

#include "Site.h"

namespace solardesk {

// The position of the Sun by the Solar Position Algorithm of Reda and Andreas (NREL, 2004,
// revised 2008): within 0.0003 degrees from the year -2000 to 6000.

// What the air and the Earth's rotation add: ΔT (terrestrial minus universal time) in seconds,
// the local pressure in millibars and temperature in degrees Celsius for the refraction.
struct SolarConditions {
  double deltaT = 69;
  double pressure = 1010;
  double temperature = 10;
};

// The quantities of the Sun's position that change over days rather than seconds, all but the
// Earth's rotation, in degrees: the apparent right ascension and declination of the Sun, the
// nutation in longitude and obliquity, the true obliquity of the ecliptic; and the Earth-Sun
// distance in astronomical units.
struct SunGeocentric {
  double rightAscension = 0;
  double declination = 0;
  double distance = 0;
  double nutationLongitude = 0;
  double nutationObliquity = 0;
  double obliquity = 0;
  double equinoxEquation = 0;  // apparent minus mean sidereal time
};

// Where the Sun stands for an observer.
struct SolarPosition {
  double zenith = 0;        // topocentric, refraction included, degrees
  double azimuth = 0;       // topocentric, eastward from north, 0..360 degrees
  double siderealTime = 0;  // apparent, at Greenwich, degrees
  SunGeocentric geocentric;
};

// The Sun seen from `site` at `utc` seconds since 1970-01-01T00:00:00Z (UTC; leap seconds as
// POSIX time counts them, which ΔT absorbs).
SolarPosition ComputeSolarPosition(double utc, const Site& site,
                                   const SolarConditions& conditions = {});

// The Sun over a run of instants, mostly in time order (a series of readings): the slow
// quantities are worked out at whole hours and taken in a straight line between them, which
// keeps within a millionth of a degree of ComputeSolarPosition at a small part of its cost.
class SolarTrack {
 public:
  explicit SolarTrack(const Site& site, const SolarConditions& conditions = {});
  SolarPosition At(double utc);

 private:
  static constexpr double kNodeSeconds = 3600;
  Site site_;
  SolarConditions conditions_;
  bool hasNodes_ = false;
  double hour_ = 0;  // the node before the instants asked for last, in hours since 1970
  SunGeocentric from_, to_;
};

}  // namespace solardesk
