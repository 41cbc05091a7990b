#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// "stats FILE.pvd [--json] [site options]": reads a data file as "Open" does and writes the
// statistics of its readings (extremes, mean, energy, peak sun hours, gaps, the daily and the
// monthly table; with a site the clear-sky figures and the completeness) as readable text or as
// one JSON object, each saying what it assumed (SiteOptions.h).
int RunStats(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
