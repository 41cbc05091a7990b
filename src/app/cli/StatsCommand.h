#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// "stats FILE.pvd [--json]": reads a data file as "Open" does and writes the statistics of its
// readings (extremes, mean, energy, peak sun hours, gaps, the daily table) as readable text or
// as one JSON object.
int RunStats(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
