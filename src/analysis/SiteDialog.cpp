#include "SiteDialog.h"

#include <QStringList>
#include <cmath>

#include "ClearSkyModel.h"
#include "SiteSettings.h"
#include "core/Dialogs.h"

namespace solardesk {
namespace {

const QString kTitle = QStringLiteral("Site");
const QString kSensorTitle = QStringLiteral("Sensor");
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

QLocale Plain(QLocale locale) {
  locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
  return locale;
}

// One value asked for until it is a number in `range` or the box is cancelled.
std::optional<double> AskValue(Dialogs& dialogs, const QLocale& locale, const QString& prompt,
                               const SiteRange& range, double kept) {
  const QLocale plain = Plain(locale);
  QString entry = plain.toString(kept, 'g', QLocale::FloatingPointShortest);
  for (;;) {
    entry = dialogs.input(prompt, kSensorTitle, entry);
    if (entry.trimmed().isEmpty()) return std::nullopt;
    const std::optional<double> v = TypedNumber(entry, locale);
    if (v && range.Holds(*v)) return v;
    const QString shown = entry.trimmed();
    const QString why =
        v ? QStringLiteral("%1 %2 is not within %3 to %4.")
                .arg(QLatin1String(range.name), shown, plain.toString(range.lowest),
                     plain.toString(range.highest))
          : QStringLiteral(
                "%1 \"%2\" is not a number: write it as %3, with "
                "\"%4\" before the decimals and no grouping.")
                .arg(QLatin1String(range.name), shown, plain.toString(0.25), plain.decimalPoint());
    dialogs.message(why, kSensorTitle, MessageIcon::Exclamation);
  }
}

// The clear-sky models a sensor lying flat may be set beside, as the list names them.
constexpr struct {
  ClearSkyModel model;
  const char* item;
} kFlatModels[] = {
    {ClearSkyModel::Haurwitz, "Haurwitz (from the Sun's height alone)"},
    {ClearSkyModel::Ineichen,
     "Ineichen\u2013Perez (from the Linke turbidity of the air and the elevation)"},
};

// The clear-sky model for a sensor lying flat, chosen from the list with the kept one chosen
// first; nothing for Cancel.
std::optional<ClearSkyModel> AskModel(Dialogs& dialogs, ClearSkyModel kept) {
  QStringList items;
  int current = 0;
  for (const auto& m : kFlatModels) {
    if (m.model == kept) current = static_cast<int>(items.size());
    items << QString::fromUtf8(m.item);
  }
  const std::optional<int> chosen = dialogs.choose(
      QStringLiteral("Clear sky for a sensor lying flat:"), kSensorTitle, items, current);
  if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(items.size())) return std::nullopt;
  return kFlatModels[*chosen].model;
}

}  // namespace

std::optional<double> TypedNumber(QStringView text, const QLocale& locale) {
  bool ok = false;
  const double v = Plain(locale).toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

bool EditSite(Dialogs& dialogs) {
  const std::optional<Site> kept = LoadSite();
  QString entry = kept ? SiteText(*kept) : QString();
  for (;;) {
    entry = dialogs.input(kPrompt, kTitle, entry);
    if (entry.trimmed().isEmpty()) return false;
    if (std::optional<Site> site = ParseSite(entry)) {
      if (kept) {
        site->tilt = kept->tilt;
        site->azimuth = kept->azimuth;
        site->albedo = kept->albedo;
      }
      SaveSite(site);
      return true;
    }
    dialogs.message(BadSiteText(entry.trimmed()), kTitle, MessageIcon::Exclamation);
  }
}

bool EditSensor(Dialogs& dialogs, const QLocale& locale) {
  Site site = LoadSite().value_or(Site{});
  double linke = LoadLinkeTurbidity();
  const auto ask = [&](const char* prompt, const SiteRange& range, double& value) {
    const std::optional<double> v =
        AskValue(dialogs, locale, QString::fromUtf8(prompt), range, value);
    if (v) value = *v;
    return v.has_value();
  };
  if (!ask("Tilt of the sensor from the horizontal in degrees, 0 (lying flat) to 90 (upright):",
           kTiltRange, site.tilt))
    return false;
  // A tilted sensor needs the light's direct and diffuse parts: Ineichen's sky. One lying flat
  // may take either.
  std::optional<ClearSkyModel> flatModel;
  if (site.tilt != 0) {
    if (!ask("Direction the sensor faces in degrees from north through east, 0 to 360 (180 "
             "facing south):",
             kAzimuthRange, site.azimuth) ||
        !ask("Albedo: the share of light the ground reflects, 0 to 1 (grass about 0.2, fresh "
             "snow 0.8):",
             kAlbedoRange, site.albedo))
      return false;
  } else {
    flatModel = AskModel(dialogs, LoadFlatClearSkyModel());
    if (!flatModel) return false;
  }
  if ((site.tilt != 0 || flatModel == ClearSkyModel::Ineichen) &&
      !ask("Linke turbidity of the air, 1 to 10 (about 2 for a clear mountain sky, 3 to 4 over a "
           "plain, 6 and more in haze):",
           kLinkeTurbidityRange, linke))
    return false;

  if (const std::optional<Site> location = LoadSite()) {
    site.latitude = location->latitude;
    site.longitude = location->longitude;
    site.elevation = location->elevation;
    SaveSite(site);
  } else {
    // No site yet: the orientation waits for one.
    SaveSite(Site{0, 0, 0, site.tilt, site.azimuth, site.albedo});
    SaveSite(std::nullopt);
  }
  SaveLinkeTurbidity(linke);
  if (flatModel) SaveFlatClearSkyModel(*flatModel);
  return true;
}

}  // namespace solardesk
