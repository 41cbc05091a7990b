#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

#include "Atmosphere.h"
#include "Ineichen.h"
#include "Site.h"
#include "SolarPosition.h"
#include "Transposition.h"

namespace solardesk {

// Which cloudless sky the readings are set beside:
// - Haurwitz: the global horizontal irradiance from the Sun's height alone, no direct and
//   diffuse parts, so only for a sensor lying flat;
// - Ineichen: Ineichen and Perez (2002) with the Linke turbidity and the site's elevation,
//   carried onto the sensor's plane.
enum class ClearSkyModel { Haurwitz, Ineichen };

struct ClearSkyOptions {
  ClearSkyModel model = ClearSkyModel::Haurwitz;
  double linkeTurbidity = kDefaultLinkeTurbidity;
  SkyDiffuseModel transposition = SkyDiffuseModel::Perez;
  double solarConstant = kSolarConstant;
};

inline constexpr SiteRange kLinkeTurbidityRange{"Linke turbidity", 1, 10};

// The names the options go by on the command line and in reports: "haurwitz", "ineichen";
// "isotropic", "haydavies", "perez". Nothing for any other name (case counts not).
std::optional<ClearSkyModel> ClearSkyModelNamed(QStringView name);
QString ClearSkyModelName(ClearSkyModel model);
std::optional<SkyDiffuseModel> SkyDiffuseModelNamed(QStringView name);
QString SkyDiffuseModelName(SkyDiffuseModel model);

// The model when none is asked for: Ineichen for a tilted sensor or when a turbidity is given,
// Haurwitz otherwise.
ClearSkyModel DefaultClearSkyModel(const Site& site, bool turbidityGiven);

// Why the options give no clear sky at the site (Haurwitz for a tilted sensor, a turbidity out
// of its range), as a message for the user; nothing when they do.
std::optional<QString> ClearSkyRefusal(const Site& site, const ClearSkyOptions& options);

// What the air does at the site for the Sun's position: the standard atmosphere's pressure at
// its elevation and 12 °C for the refraction, as the solar-resource tools take them.
SolarConditions SiteConditions(const Site& site);

// The clear sky at one instant: its horizontal parts and its irradiance on the sensor's plane.
// Under Haurwitz only the global figures are known: `horizontal.ghi`, and `plane.global` equal
// to it (the plane is taken as lying flat; see ClearSkyRefusal).
struct ClearSkyIrradiance {
  SkyIrradiance horizontal;
  PlaneIrradiance plane;
};

// With the Sun at `sun` (apparent zenith) on day `dayOfYear` of the year.
ClearSkyIrradiance ClearSkyAt(const Site& site, const ClearSkyOptions& options,
                              const SolarPosition& sun, int dayOfYear);

// At `utc` seconds since 1970-01-01T00:00:00Z, the Sun placed by the solar position algorithm:
// under Haurwitz with its usual conditions (as ClearSkyGhi), under Ineichen with those of
// SiteConditions.
ClearSkyIrradiance ClearSkyAt(const Site& site, const ClearSkyOptions& options, qint64 utc);

}  // namespace solardesk
