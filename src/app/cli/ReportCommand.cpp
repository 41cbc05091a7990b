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

// The readings of the files one after the other, as one series: appended as each file is read,
// so that only one file's records are held beside it; put in time order when the files were not.
class JoinedSeries {
 public:
  void Append(ReadingSeries part) {
    if (!part.instants.empty()) parts_.push_back({series_.size(), part.size()});
    Move(series_.instants, part.instants);
    Move(series_.offsets, part.offsets);
    Move(series_.values, part.values);
    Move(series_.entries, part.entries);
    series_.unreadable += part.unreadable;
  }

  ReadingSeries Take() {
    const auto first = [this](const Part& p) { return series_.instants[p.begin]; };
    if (std::is_sorted(parts_.begin(), parts_.end(),
                       [&](const Part& a, const Part& b) { return first(a) < first(b); }))
      return std::move(series_);
    std::stable_sort(parts_.begin(), parts_.end(),
                     [&](const Part& a, const Part& b) { return first(a) < first(b); });
    ReadingSeries ordered;
    ordered.unreadable = series_.unreadable;
    for (const Part& p : parts_) {
      Copy(ordered.instants, series_.instants, p);
      Copy(ordered.offsets, series_.offsets, p);
      Copy(ordered.values, series_.values, p);
      Copy(ordered.entries, series_.entries, p);
    }
    return ordered;
  }

 private:
  struct Part {
    std::size_t begin;
    std::size_t size;
  };
  template <typename T>
  static void Move(std::vector<T>& to, std::vector<T>& from) {
    if (to.empty())
      to.swap(from);
    else
      to.insert(to.end(), from.begin(), from.end());
    from = {};
  }
  template <typename T>
  static void Copy(std::vector<T>& to, const std::vector<T>& from, const Part& p) {
    const auto begin = from.begin() + static_cast<std::ptrdiff_t>(p.begin);
    to.insert(to.end(), begin, begin + static_cast<std::ptrdiff_t>(p.size));
  }

  ReadingSeries series_;
  std::vector<Part> parts_;
};

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

  JoinedSeries joined;
  std::vector<ReportFile> files;
  QString unit;
  int code = kOk;
  for (const QString& path : paths) {
    const std::unique_ptr<ListFile> file = ReadListFile(cli, path);
    if (!file) return kNoData;
    if (!files.empty() && UnitOfText(file->unit) != UnitOfText(unit))
      return cli.Fail(QStringLiteral("%1 is in %2, %3 in %4: one report takes one unit")
                          .arg(path, file->unit.trimmed(), QFileInfo(paths.first()).fileName(),
                               unit.trimmed()));
    if (files.empty()) unit = file->unit;
    joined.Append(ReadSeries(file->list.records));
    files.push_back(DescribeFile(path));
    if (ReportIncomplete(cli, path, *file) != kOk) code = kNoData;
  }
  const ReadingSeries series = joined.Take();
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
