#pragma once

namespace solardesk {

class Dialogs;

// The "Site" input box: latitude, longitude and an optional elevation, the kept site offered
// first. An entry that is no site is named in a warning and asked for again; a site entered is
// kept across runs (SiteSettings.h). Cancel changes nothing. True when a site was kept.
bool EditSite(Dialogs& dialogs);

}  // namespace solardesk
