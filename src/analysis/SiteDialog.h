#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <optional>

namespace solardesk {

class Dialogs;

// The "Site" input box: latitude, longitude and an optional elevation, the kept site offered
// first. An entry that is no site is named in a warning and asked for again; a site entered is
// kept across runs (SiteSettings.h) with the sensor's orientation kept before. Cancel changes
// nothing. True when a site was kept.
bool EditSite(Dialogs& dialogs);

// The "Sensor" boxes, one value each, the kept values offered first: the tilt from the
// horizontal; for a tilted sensor also the azimuth its face looks to, the albedo of the ground
// and the Linke turbidity of the air (its clear sky is Ineichen's); for a sensor lying flat the
// clear-sky model, chosen from a list (Haurwitz or Ineichen), and under Ineichen the Linke
// turbidity. Numbers are typed as the desktop writes them (`locale`); a value that is no number
// in that form or out of its range is named in a warning and asked for again. Cancel in any box
// changes nothing. True when the values were kept; they take effect with a kept site.
bool EditSensor(Dialogs& dialogs, const QLocale& locale = QLocale());

// A number typed by a person: the text without the blanks around it in `locale`'s form, its
// decimal sign and no grouping ("0,25" under a German locale, "0.25" under an English one).
// Nothing for anything else, so that "1.000" is never taken for one where "." groups
// thousands.
std::optional<double> TypedNumber(QStringView text, const QLocale& locale);

}  // namespace solardesk
