#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// The meter's data logger, with the logic of the toolbar's "Logger" and "Erase" and of the
// Memory window's download.

// "logger list": the capacity, the used share and one line per record set.
int RunLoggerList(CliContext& cli, const QStringList& args);
// "logger download K [-o FILE]": set K's title line and entries as the DataList saves them.
int RunLoggerDownload(CliContext& cli, const QStringList& args);
// "logger erase --yes": erases the whole logger memory; refused without --yes.
int RunLoggerErase(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
