#include "SiteSettings.h"

#include <QSettings>

namespace solardesk {
namespace {

const QString kKey = QStringLiteral("site");

QSettings Settings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("SolarDesk"),
                   QStringLiteral("SolarDesk"));
}

}  // namespace

std::optional<Site> LoadSite() {
  return ParseSite(Settings().value(kKey).toString());
}

void SaveSite(const std::optional<Site>& site) {
  QSettings settings = Settings();
  if (site)
    settings.setValue(kKey, SiteText(*site));
  else
    settings.remove(kKey);
}

}  // namespace solardesk
