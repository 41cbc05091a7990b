#pragma once

#include <optional>

#include "ClearSkyModel.h"
#include "Site.h"
#include "StatisticsReport.h"

namespace solardesk {

// The site kept across runs in the user's settings (QSettings, organization and application
// "SolarDesk"): under "site" in the form of SiteText, the sensor's orientation under
// "sensor/tilt", "sensor/azimuth" and "sensor/albedo", the Linke turbidity under "sensor/linke"
// and the clear-sky model for a sensor lying flat under "sensor/model" ("haurwitz" or
// "ineichen"), numbers with a point before the decimals. Nothing when no site is kept or what
// is kept is no site; an orientation out of its range counts as not kept.
std::optional<Site> LoadSite();

// Keeps the site with its orientation; std::nullopt forgets the site (the orientation stays for
// the next one).
void SaveSite(const std::optional<Site>& site);

// The Linke turbidity kept, or kDefaultLinkeTurbidity.
double LoadLinkeTurbidity();
void SaveLinkeTurbidity(double turbidity);

// The clear-sky model kept for a sensor lying flat, or Haurwitz. A tilted sensor is always set
// beside Ineichen's (Haurwitz has no direct and diffuse light to carry onto its plane).
ClearSkyModel LoadFlatClearSkyModel();
void SaveFlatClearSkyModel(ClearSkyModel model);

// What the windows take for the clear sky: the kept site (none when none is kept), Ineichen with
// the kept turbidity and the Perez transposition for a tilted sensor, the kept model for one
// lying flat; the system's time zone.
SiteAssumptions LoadSiteAssumptions();

}  // namespace solardesk
