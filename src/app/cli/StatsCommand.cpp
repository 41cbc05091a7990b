#include "StatsCommand.h"

#include "ListFile.h"
#include "SiteOptions.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"

namespace solardesk::cli {

int RunStats(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const bool json = a.Flag(QStringLiteral("--json"));
  QString error;
  const std::optional<SiteAssumptions> assumed = TakeSiteOptions(a, &error);
  if (!assumed) return cli.Fail(error, kUsage);
  const std::optional<QString> path = a.Next();
  if (!path || path->startsWith(QLatin1String("--")) || !a.Done()) return cli.UsageError(a);

  const std::unique_ptr<ListFile> file = ReadListFile(cli, *path);
  if (!file) return kNoData;
  const ReadingSeries series = ReadSeries(file->list.records);
  SeriesStatistics s = ComputeStatistics(series, file->unit);
  if (s.count == 0) {
    return cli.Fail(
        QStringLiteral("%1 has no readable record (%2 unreadable)").arg(*path).arg(s.unreadable));
  }
  if (assumed->site) AddClearSky(s, series, *assumed->site, assumed->clearSky);
  cli.WriteRaw(json ? StatisticsJson(s, *assumed) : StatisticsText(s, *assumed).toUtf8());
  return ReportIncomplete(cli, *path, *file);
}

}  // namespace solardesk::cli
