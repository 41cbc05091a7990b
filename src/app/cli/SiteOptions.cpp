#include "SiteOptions.h"

#include <QTimeZone>
#include <ctime>

namespace solardesk::cli {
namespace {

// An option with its value; `given` false when the option is absent.
struct Option {
  explicit Option(const char* n) : name(QLatin1String(n)) {}
  QString name;
  bool given = false;
  QString text;
};

}  // namespace

std::optional<SiteAssumptions> TakeSiteOptions(Arguments& a, QString* error) {
  Option site("--site"), tilt("--tilt"), azimuth("--azimuth"), albedo("--albedo"), model("--model"),
      linke("--linke"), transposition("--transposition"), zone("--tz");
  for (Option* o : {&site, &tilt, &azimuth, &albedo, &model, &linke, &transposition, &zone}) {
    o->given = a.Has(o->name);
    const std::optional<QString> v = a.Value(o->name);
    if (!v) {
      *error = o->name + QStringLiteral(" needs a value");
      return std::nullopt;
    }
    o->text = *v;
  }

  SiteAssumptions assumed;
  if (!zone.given) {
    assumed.timeZone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
  } else if (!QTimeZone::isTimeZoneIdAvailable(zone.text.toUtf8())) {
    *error = QStringLiteral(
                 "--tz \"%1\" is no time zone: give an IANA name such as Europe/Berlin or "
                 "America/Denver")
                 .arg(zone.text);
    return std::nullopt;
  } else {
    assumed.timeZone = zone.text;
    UseTimeZone(zone.text);
  }

  if (!site.given) {
    for (const Option* o : {&tilt, &azimuth, &albedo, &model, &linke, &transposition}) {
      if (o->given) {
        *error = o->name + QStringLiteral(" needs --site LAT,LON[,ELEV]");
        return std::nullopt;
      }
    }
    return assumed;
  }
  std::optional<Site> place = ParseSite(site.text);
  if (!place) {
    *error = QStringLiteral(
                 "\"%1\" is no site: --site LAT,LON[,ELEV] takes latitude -90..90 and longitude "
                 "-180..180 in degrees, elevation in metres, with a point before decimals "
                 "(39.742476,-105.1786,1830.14)")
                 .arg(site.text);
    return std::nullopt;
  }
  const std::pair<const Option*, double Site::*> orientation[] = {
      {&tilt, &Site::tilt}, {&azimuth, &Site::azimuth}, {&albedo, &Site::albedo}};
  for (const auto& [o, field] : orientation) {
    if (!o->given) continue;
    const SiteRange& range = field == &Site::tilt      ? kTiltRange
                             : field == &Site::azimuth ? kAzimuthRange
                                                       : kAlbedoRange;
    const std::optional<double> v = ParseSiteValue(o->text, range);
    if (!v) {
      *error = o->name + QStringLiteral(": ") + SiteValueError(o->text, range);
      return std::nullopt;
    }
    (*place).*field = *v;
  }

  ClearSkyOptions& options = assumed.clearSky;
  if (linke.given) {
    const std::optional<double> v = ParseSiteValue(linke.text, kLinkeTurbidityRange);
    if (!v) {
      *error = QStringLiteral("--linke: ") + SiteValueError(linke.text, kLinkeTurbidityRange);
      return std::nullopt;
    }
    options.linkeTurbidity = *v;
  }
  if (transposition.given) {
    const std::optional<SkyDiffuseModel> m = SkyDiffuseModelNamed(transposition.text);
    if (!m) {
      *error = QStringLiteral("--transposition \"%1\" is none of isotropic, haydavies, perez")
                   .arg(transposition.text);
      return std::nullopt;
    }
    options.transposition = *m;
  }
  if (model.given) {
    const std::optional<ClearSkyModel> m = ClearSkyModelNamed(model.text);
    if (!m) {
      *error = QStringLiteral("--model \"%1\" is none of haurwitz, ineichen").arg(model.text);
      return std::nullopt;
    }
    options.model = *m;
    // Haurwitz has no turbidity and no diffuse light to carry: a value for them would be lost.
    if (options.model == ClearSkyModel::Haurwitz) {
      for (const Option* o : {&linke, &transposition}) {
        if (o->given) {
          *error = o->name +
                   QStringLiteral(" has no effect on the Haurwitz clear sky: use --model ineichen");
          return std::nullopt;
        }
      }
    }
  } else {
    options.model = DefaultClearSkyModel(*place, linke.given);
  }
  if (const std::optional<QString> refusal = ClearSkyRefusal(*place, options)) {
    *error = *refusal;
    return std::nullopt;
  }
  assumed.site = place;
  return assumed;
}

void UseTimeZone(const QString& zone) {
  qputenv("TZ", zone.toUtf8());
  tzset();
}

}  // namespace solardesk::cli
