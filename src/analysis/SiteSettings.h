#pragma once

#include <optional>

#include "Site.h"

namespace solardesk {

// The site kept across runs in the user's settings (QSettings, organization and application
// "SolarDesk"), under "site" in the form of SiteText. Nothing when none is kept or what is kept
// is no site.
std::optional<Site> LoadSite();

// Keeps the site; std::nullopt forgets the one kept.
void SaveSite(const std::optional<Site>& site);

}  // namespace solardesk
