#include "SiteDialog.h"

#include "SiteSettings.h"
#include "core/Dialogs.h"

namespace solardesk {
namespace {

const QString kTitle = QStringLiteral("Site");
const QString kPrompt = QStringLiteral(
    "Latitude, longitude in degrees and optional elevation in metres, separated by commas:");

QString BadSiteText(const QString& entry) {
  return QStringLiteral(
             "\"%1\" is no site.\nEnter LAT,LON or LAT,LON,ELEV with a point before decimals, "
             "for example 39.742476,-105.1786,1830.14: latitude from -90 to 90 (north "
             "positive), longitude from -180 to 180 (east positive), elevation from %2 to %3 "
             "metres.")
      .arg(entry)
      .arg(kLowestElevation)
      .arg(kHighestElevation);
}

}  // namespace

bool EditSite(Dialogs& dialogs) {
  const std::optional<Site> kept = LoadSite();
  QString entry = kept ? SiteText(*kept) : QString();
  for (;;) {
    entry = dialogs.input(kPrompt, kTitle, entry);
    if (entry.trimmed().isEmpty()) return false;
    if (const std::optional<Site> site = ParseSite(entry)) {
      SaveSite(site);
      return true;
    }
    dialogs.message(BadSiteText(entry.trimmed()), kTitle, MessageIcon::Exclamation);
  }
}

}  // namespace solardesk
