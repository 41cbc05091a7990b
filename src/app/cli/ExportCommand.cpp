#include "ExportCommand.h"

#include <QFile>
#include <QFileInfo>

#include "CsvExport.h"
#include "recording/logic/DataFileReader.h"

namespace solardesk::cli {
int RunExport(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const std::optional<QString> output = a.Value(QStringLiteral("-o"));
  const std::optional<QString> path = a.Next();
  if (!output || !path || !a.Done()) return cli.UsageError(a);

  if (!QFile(*path).open(QIODevice::ReadOnly))
    return cli.Fail(QStringLiteral("cannot read %1").arg(*path));
  PlainFileList file;
  QString unit;
  const LoadOutcome loaded =
      LoadDataFile(*path, QFileInfo(*path).fileName(), file, unit, cli.instrument());

  QString csv = CsvRecord(QString(kCsvHeading).split(QLatin1Char(',')));
  const LineStore& entries = file.Entries();
  for (int i = 0; i < entries.count(); ++i)
    csv += CsvRecord(CsvFields(entries.bytes(i), unit.trimmed()));
  const QByteArray bytes = csv.toLatin1();

  if (output->isEmpty()) {
    cli.WriteRaw(bytes);
  } else {
    QFile out(*output);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() ||
        !out.flush())
      return cli.Fail(QStringLiteral("cannot write %1: %2").arg(*output, out.errorString()));
  }
  // "Open" keeps the lines before a line without a tab; so does the export, but says so.
  if (!loaded.complete) {
    return cli.Fail(QStringLiteral("line %1 of %2 has no tab; the %3 records before it were "
                                   "exported")
                        .arg(loaded.linesRead + 1)
                        .arg(*path)
                        .arg(entries.count()));
  }
  return kOk;
}

}  // namespace solardesk::cli
