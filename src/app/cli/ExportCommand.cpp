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
  const QByteArray bytes = RecordsCsv(file->list.entries, file->unit);

  if (output->isEmpty()) {
    cli.WriteRaw(bytes);
  } else {
    QFile out(*output);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() ||
        !out.flush())
      return cli.Fail(QStringLiteral("cannot write %1: %2").arg(*output, out.errorString()));
  }
  return ReportIncomplete(cli, *path, *file);
}

}  // namespace solardesk::cli
