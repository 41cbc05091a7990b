#include "ExportCommand.h"

#include <QFile>

#include "ListFile.h"
#include "analysis/RecordsCsv.h"

namespace solardesk::cli {

int RunExport(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const std::optional<QString> output = a.Value(QStringLiteral("-o"));
  const std::optional<QString> path = a.Next();
  if (!output || !path || !a.Done()) return cli.UsageError(a);

  const std::unique_ptr<ListFile> file = ReadListFile(cli, *path);
  if (!file) return kNoData;
  const RecordSeries& records = file->list.records;
  if (output->isEmpty()) {
    WriteRecordsCsv(records, file->unit, [&](QByteArrayView piece) {
      cli.WriteRaw(QByteArray::fromRawData(piece.data(), piece.size()));
      return true;
    });
  } else {
    QFile out(*output);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !WriteRecordsCsv(records, file->unit,
                         [&](QByteArrayView piece) {
                           return out.write(piece.data(), piece.size()) == piece.size();
                         }) ||
        !out.flush())
      return cli.Fail(QStringLiteral("cannot write %1: %2").arg(*output, out.errorString()));
  }
  return ReportIncomplete(cli, *path, *file);
}

}  // namespace solardesk::cli
