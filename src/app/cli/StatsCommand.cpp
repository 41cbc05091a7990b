#include "StatsCommand.h"

#include "ListFile.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"

namespace solardesk::cli {

int RunStats(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const bool json = a.Flag(QStringLiteral("--json"));
  const std::optional<QString> path = a.Next();
  if (!path || path->startsWith(QLatin1String("--")) || !a.Done()) return cli.UsageError(a);

  const std::unique_ptr<ListFile> file = ReadListFile(cli, *path);
  if (!file) return kNoData;
  const SeriesStatistics s = ComputeStatistics(ReadSeries(file->list.entries), file->unit);
  if (s.count == 0) {
    return cli.Fail(
        QStringLiteral("%1 has no readable record (%2 unreadable)").arg(*path).arg(s.unreadable));
  }
  cli.WriteRaw(json ? StatisticsJson(s) : StatisticsText(s).toUtf8());
  return ReportIncomplete(cli, *path, *file);
}

}  // namespace solardesk::cli
