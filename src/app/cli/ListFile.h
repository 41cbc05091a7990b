#pragma once

#include <QString>
#include <memory>

#include "CliContext.h"
#include "recording/logic/DataFileReader.h"

namespace solardesk::cli {

// A data file read as "Open" reads it into the file list, without a window.
struct ListFile {
  PlainFileList list;
  QString unit;  // the header's unit field
  LoadOutcome outcome;
};

// Nothing, with the error written, when the file cannot be read.
std::unique_ptr<ListFile> ReadListFile(CliContext& cli, const QString& path);

// "Open" keeps the records before a line without a tab; the commands do so too, but say so:
// kNoData with the error written then, kOk when the whole file was read.
int ReportIncomplete(CliContext& cli, const QString& path, const ListFile& file);

}  // namespace solardesk::cli
