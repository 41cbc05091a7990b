#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace solardesk {

// Where the readings were taken: latitude in degrees north, longitude in degrees east, elevation
// above sea level in metres.
struct Site {
  double latitude = 0;
  double longitude = 0;
  double elevation = 0;
  bool operator==(const Site&) const = default;
};

inline constexpr double kLowestElevation = -1000;
inline constexpr double kHighestElevation = 9000;

// "LAT,LON" or "LAT,LON,ELEV" in decimal degrees and metres, blanks allowed around each field,
// a point before the decimals under every locale; latitude within -90..90, longitude within
// -180..180, elevation within kLowestElevation..kHighestElevation. Nothing for anything else.
std::optional<Site> ParseSite(QStringView text);

// The same form back, "39.742476,-105.1786,1830.14"; the elevation is left out when it is 0.
QString SiteText(const Site& site);

}  // namespace solardesk
