#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace solardesk {

// Where the readings were taken: latitude in degrees north, longitude in degrees east, elevation
// above sea level in metres; and how the sensor was held there: its tilt from the horizontal
// (0 lying flat, 90 upright) and the compass direction its face looks to (degrees from north
// through east, 180 facing south), over ground that reflects `albedo` of the light it gets.
struct Site {
  double latitude = 0;
  double longitude = 0;
  double elevation = 0;
  double tilt = 0;
  double azimuth = 180;
  double albedo = 0.2;
  bool operator==(const Site&) const = default;
};

// The values a quantity of the site may take, bounds included, and the name it goes by in
// messages.
struct SiteRange {
  const char* name;
  double lowest;
  double highest;
  bool Holds(double v) const { return v >= lowest && v <= highest; }
};

inline constexpr SiteRange kLatitudeRange{"latitude", -90, 90};
inline constexpr SiteRange kLongitudeRange{"longitude", -180, 180};
inline constexpr SiteRange kElevationRange{"elevation", -1000, 9000};
inline constexpr SiteRange kTiltRange{"tilt", 0, 90};
inline constexpr SiteRange kAzimuthRange{"azimuth", 0, 360};
inline constexpr SiteRange kAlbedoRange{"albedo", 0, 1};
inline constexpr double kLowestElevation = kElevationRange.lowest;
inline constexpr double kHighestElevation = kElevationRange.highest;

// One number given by itself ("35", " 12.5 ", "+0.3"), a point before the decimals under every
// locale, within `range`. Nothing for anything else.
std::optional<double> ParseSiteValue(QStringView text, const SiteRange& range);

// What is wrong with a value given for `range`: "tilt 91 is not within 0 to 90", or
// "tilt "abc" is not a number".
QString SiteValueError(QStringView text, const SiteRange& range);

// "LAT,LON" or "LAT,LON,ELEV" in decimal degrees and metres, blanks allowed around each field,
// a point before the decimals under every locale; latitude within -90..90, longitude within
// -180..180, elevation within kLowestElevation..kHighestElevation. Nothing for anything else.
// The sensor is taken as lying flat (the orientation is given apart, see ParseSiteValue).
std::optional<Site> ParseSite(QStringView text);

// The same form back, "39.742476,-105.1786,1830.14"; the elevation is left out when it is 0.
QString SiteText(const Site& site);

}  // namespace solardesk
