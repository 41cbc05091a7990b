#include "ReportCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "ListFile.h"
#include "SiteOptions.h"
#include "core/WriteGate.h"
#include "report/SiteReport.h"

namespace solardesk::cli {
namespace {

// The data files named: a file as it is, a folder as its ".pvd" files in name order.
QStringList DataFiles(const QStringList& names) {
  QStringList files;
  for (const QString& name : names) {
    if (!QFileInfo(name).isDir()) {
      files << name;
      continue;
    }
    const QDir dir(name);
    for (const QString& entry :
         dir.entryList({QStringLiteral("*.pvd")}, QDir::Files | QDir::Readable, QDir::Name))
      files << dir.filePath(entry);
  }
  return files;
}

// One file's readings with what the report says of it.
struct Part {
  ReadingSeries series;
  ReportFile file;
};

// `parts` one after the other in time order, as one series.
ReadingSeries Joined(std::vector<Part>& parts) {
  std::stable_sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
    const bool aEmpty = a.series.instants.empty(), bEmpty = b.series.instants.empty();
    if (aEmpty || bEmpty) return !aEmpty && bEmpty;
    return a.series.instants.front() < b.series.instants.front();
  });
  if (parts.size() == 1) return std::move(parts.front().series);
  ReadingSeries all;
  std::size_t n = 0;
  for (const Part& p : parts) n += p.series.size();
  all.instants.reserve(n);
  all.offsets.reserve(n);
  all.values.reserve(n);
  all.entries.reserve(n);
  for (Part& p : parts) {
    ReadingSeries& s = p.series;
    all.instants.insert(all.instants.end(), s.instants.begin(), s.instants.end());
    all.offsets.insert(all.offsets.end(), s.offsets.begin(), s.offsets.end());
    all.values.insert(all.values.end(), s.values.begin(), s.values.end());
    all.entries.insert(all.entries.end(), s.entries.begin(), s.entries.end());
    all.unreadable += s.unreadable;
    s = ReadingSeries{};  // the part's memory goes back at once
  }
  return all;
}

}  // namespace

int RunReport(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const std::optional<QString> output = a.Value(QStringLiteral("-o"));
  QString error;
  const std::optional<SiteAssumptions> assumed = TakeSiteOptions(a, &error);
  if (!assumed) return cli.Fail(error, kUsage);
  const QStringList names = a.Rest();
  if (!output || output->isEmpty() || names.isEmpty()) return cli.UsageError(a);
  for (const QString& name : names)
    if (name.startsWith(QLatin1String("-")))
      return cli.Fail(QStringLiteral("unexpected \"%1\"; usage: %2").arg(name, cli.Usage()),
                      kUsage);
  const QStringList paths = DataFiles(names);
  if (paths.isEmpty()) return cli.Fail(QStringLiteral("no .pvd file in %1").arg(names.join(' ')));

  std::vector<Part> parts;
  QString unit;
  int code = kOk;
  for (const QString& path : paths) {
    const std::unique_ptr<ListFile> file = ReadListFile(cli, path);
    if (!file) return kNoData;
    if (!parts.empty() && UnitOfText(file->unit) != UnitOfText(unit))
      return cli.Fail(QStringLiteral("%1 is in %2, %3 in %4: one report takes one unit")
                          .arg(path, file->unit.trimmed(), QFileInfo(paths.first()).fileName(),
                               unit.trimmed()));
    if (parts.empty()) unit = file->unit;
    parts.push_back({ReadSeries(file->list.records), DescribeFile(path)});
    if (ReportIncomplete(cli, path, *file) != kOk) code = kNoData;
  }
  std::vector<ReportFile> files;
  for (const Part& p : parts) files.push_back(p.file);
  const ReadingSeries series = Joined(parts);
  SeriesStatistics s = ComputeStatistics(series, unit);
  if (s.count == 0) {
    return cli.Fail(QStringLiteral("%1 has no readable record (%2 unreadable)")
                        .arg(names.join(' '))
                        .arg(s.unreadable));
  }
  if (assumed->site) AddClearSky(s, series, *assumed->site, assumed->clearSky);

  const SiteReportInput input{s, series, *assumed, files, QCoreApplication::applicationVersion()};
  const QByteArray pdf = SiteReportPdf(input, ReportPageSize(QLocale()));
  QString why;
  const std::unique_ptr<FileWriter> out = WriteGate::Shared().Open(*output, WriteUse::Saving, &why);
  if (!out || !out->Write(pdf) || !out->Close())
    return cli.Fail(QStringLiteral("cannot write %1: %2").arg(*output, out ? out->Error() : why));
  return code;
}

}  // namespace solardesk::cli
