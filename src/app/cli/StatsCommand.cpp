#include "StatsCommand.h"

#include "ListFile.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/Site.h"
#include "analysis/StatisticsReport.h"

namespace solardesk::cli {

int RunStats(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const bool siteGiven = args.contains(QStringLiteral("--site"));
  const bool json = a.Flag(QStringLiteral("--json"));
  const std::optional<QString> siteText = a.Value(QStringLiteral("--site"));
  const std::optional<QString> path = a.Next();
  if (!siteText || !path || path->startsWith(QLatin1String("--")) || !a.Done())
    return cli.UsageError(a);
  std::optional<Site> site;
  if (siteGiven && !(site = ParseSite(*siteText))) {
    return cli.Fail(
        QStringLiteral("\"%1\" is no site: --site LAT,LON[,ELEV] takes latitude -90..90 "
                       "and longitude -180..180 in degrees, elevation in metres, with "
                       "a point before decimals (39.742476,-105.1786,1830.14)")
            .arg(*siteText),
        kUsage);
  }

  const std::unique_ptr<ListFile> file = ReadListFile(cli, *path);
  if (!file) return kNoData;
  const ReadingSeries series = ReadSeries(file->list.records);
  SeriesStatistics s = ComputeStatistics(series, file->unit);
  if (s.count == 0) {
    return cli.Fail(
        QStringLiteral("%1 has no readable record (%2 unreadable)").arg(*path).arg(s.unreadable));
  }
  if (site) AddClearSky(s, series, *site);
  cli.WriteRaw(json ? StatisticsJson(s) : StatisticsText(s).toUtf8());
  return ReportIncomplete(cli, *path, *file);
}

}  // namespace solardesk::cli
