#include "ClearSkyModel.h"

#include "ClearSky.h"

namespace solardesk {
namespace {

constexpr struct {
  ClearSkyModel model;
  const char* name;
} kModelNames[] = {{ClearSkyModel::Haurwitz, "haurwitz"}, {ClearSkyModel::Ineichen, "ineichen"}};

constexpr struct {
  SkyDiffuseModel model;
  const char* name;
} kDiffuseNames[] = {{SkyDiffuseModel::Isotropic, "isotropic"},
                     {SkyDiffuseModel::HayDavies, "haydavies"},
                     {SkyDiffuseModel::Perez, "perez"}};

template <typename Model, typename Table>
std::optional<Model> Named(const Table& table, QStringView name) {
  for (const auto& entry : table)
    if (name.trimmed().compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
      return entry.model;
  return std::nullopt;
}

template <typename Model, typename Table>
QString NameOf(const Table& table, Model model) {
  for (const auto& entry : table)
    if (entry.model == model) return QLatin1String(entry.name);
  return {};
}

}  // namespace

std::optional<ClearSkyModel> ClearSkyModelNamed(QStringView name) {
  return Named<ClearSkyModel>(kModelNames, name);
}
QString ClearSkyModelName(ClearSkyModel model) {
  return NameOf(kModelNames, model);
}
std::optional<SkyDiffuseModel> SkyDiffuseModelNamed(QStringView name) {
  return Named<SkyDiffuseModel>(kDiffuseNames, name);
}
QString SkyDiffuseModelName(SkyDiffuseModel model) {
  return NameOf(kDiffuseNames, model);
}

ClearSkyModel DefaultClearSkyModel(const Site& site, bool turbidityGiven) {
  return site.tilt != 0 || turbidityGiven ? ClearSkyModel::Ineichen : ClearSkyModel::Haurwitz;
}

std::optional<QString> ClearSkyRefusal(const Site& site, const ClearSkyOptions& options) {
  if (options.model == ClearSkyModel::Haurwitz && site.tilt != 0)
    return QStringLiteral(
               "the Haurwitz clear sky has no direct and diffuse parts to carry onto a sensor "
               "tilted by %1 degrees: use --model ineichen")
        .arg(site.tilt);
  if (!kLinkeTurbidityRange.Holds(options.linkeTurbidity))
    return SiteValueError(QString::number(options.linkeTurbidity), kLinkeTurbidityRange);
  return std::nullopt;
}

SolarConditions SiteConditions(const Site& site) {
  SolarConditions c;
  c.pressure = StandardPressure(site.elevation) / 100;
  c.temperature = 12;
  return c;
}

ClearSkyIrradiance ClearSkyAt(const Site& site, const ClearSkyOptions& options,
                              const SolarPosition& sun, int dayOfYear) {
  ClearSkyIrradiance c;
  if (options.model == ClearSkyModel::Haurwitz) {
    c.horizontal.ghi = HaurwitzGhi(sun.zenith);
    c.plane.global = c.horizontal.ghi;
    return c;
  }
  SunAndSky s;
  s.zenith = sun.zenith;
  s.azimuth = sun.azimuth;
  s.extraterrestrial = ExtraterrestrialIrradiance(dayOfYear, options.solarConstant);
  s.airMass = KastenYoungAirMass(sun.zenith);
  s.sky = IneichenPerezClearSky(sun.zenith,
                                AbsoluteAirMass(s.airMass, StandardPressure(site.elevation)),
                                options.linkeTurbidity, site.elevation, s.extraterrestrial);
  c.horizontal = s.sky;
  c.plane = PlaneOfArray(options.transposition, site, s);
  return c;
}

ClearSkyIrradiance ClearSkyAt(const Site& site, const ClearSkyOptions& options, qint64 utc) {
  const SolarConditions conditions =
      options.model == ClearSkyModel::Haurwitz ? SolarConditions{} : SiteConditions(site);
  return ClearSkyAt(site, options, ComputeSolarPosition(static_cast<double>(utc), site, conditions),
                    DayOfYear(utc));
}

}  // namespace solardesk
