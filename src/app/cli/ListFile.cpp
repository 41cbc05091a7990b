#include "ListFile.h"

#include <QFile>
#include <QFileInfo>

namespace solardesk::cli {

std::unique_ptr<ListFile> ReadListFile(CliContext& cli, const QString& path) {
  if (!QFile(path).open(QIODevice::ReadOnly)) {
    cli.Fail(QStringLiteral("cannot read %1").arg(path));
    return nullptr;
  }
  auto file = std::make_unique<ListFile>();
  file->outcome =
      LoadDataFile(path, QFileInfo(path).fileName(), file->list, file->unit, cli.instrument());
  return file;
}

int ReportIncomplete(CliContext& cli, const QString& path, const ListFile& file) {
  if (file.outcome.complete) return kOk;
  return cli.Fail(QStringLiteral("line %1 of %2 has no tab; the %3 records before it were read")
                      .arg(file.outcome.linesRead + 1)
                      .arg(path)
                      .arg(file.list.records.count()));
}

}  // namespace solardesk::cli
