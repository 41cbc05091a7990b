#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// "export FILE.pvd [-o OUT.csv]": reads a data file as "Open" does and writes its records as
// CSV, to OUT.csv or to standard output.
int RunExport(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
