#include "SiteSettings.h"

#include <QSettings>
#include <QTimeZone>

namespace solardesk {
namespace {

const QString kKey = QStringLiteral("site");
const QString kTiltKey = QStringLiteral("sensor/tilt");
const QString kAzimuthKey = QStringLiteral("sensor/azimuth");
const QString kAlbedoKey = QStringLiteral("sensor/albedo");
const QString kLinkeKey = QStringLiteral("sensor/linke");
const QString kModelKey = QStringLiteral("sensor/model");

QSettings Settings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("SolarDesk"),
                   QStringLiteral("SolarDesk"));
}

// A kept number within `range`, or `otherwise`.
double Kept(const QSettings& settings, const QString& key, const SiteRange& range,
            double otherwise) {
  return ParseSiteValue(settings.value(key).toString(), range).value_or(otherwise);
}

QString NumberText(double v) {
  return QString::number(v, 'g', 17);
}

}  // namespace

std::optional<Site> LoadSite() {
  const QSettings settings = Settings();
  std::optional<Site> site = ParseSite(settings.value(kKey).toString());
  if (!site) return site;
  const Site flat;
  site->tilt = Kept(settings, kTiltKey, kTiltRange, flat.tilt);
  site->azimuth = Kept(settings, kAzimuthKey, kAzimuthRange, flat.azimuth);
  site->albedo = Kept(settings, kAlbedoKey, kAlbedoRange, flat.albedo);
  return site;
}

void SaveSite(const std::optional<Site>& site) {
  QSettings settings = Settings();
  if (!site) {
    settings.remove(kKey);
    return;
  }
  settings.setValue(kKey, SiteText(*site));
  settings.setValue(kTiltKey, NumberText(site->tilt));
  settings.setValue(kAzimuthKey, NumberText(site->azimuth));
  settings.setValue(kAlbedoKey, NumberText(site->albedo));
}

double LoadLinkeTurbidity() {
  return Kept(Settings(), kLinkeKey, kLinkeTurbidityRange, kDefaultLinkeTurbidity);
}

void SaveLinkeTurbidity(double turbidity) {
  Settings().setValue(kLinkeKey, NumberText(turbidity));
}

ClearSkyModel LoadFlatClearSkyModel() {
  return ClearSkyModelNamed(Settings().value(kModelKey).toString())
      .value_or(ClearSkyModel::Haurwitz);
}

void SaveFlatClearSkyModel(ClearSkyModel model) {
  Settings().setValue(kModelKey, ClearSkyModelName(model));
}

SiteAssumptions LoadSiteAssumptions() {
  SiteAssumptions assumed;
  assumed.site = LoadSite();
  assumed.timeZone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
  if (!assumed.site) return assumed;
  assumed.clearSky.model =
      assumed.site->tilt != 0 ? ClearSkyModel::Ineichen : LoadFlatClearSkyModel();
  assumed.clearSky.linkeTurbidity = LoadLinkeTurbidity();
  return assumed;
}

}  // namespace solardesk
