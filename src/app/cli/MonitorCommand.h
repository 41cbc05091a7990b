#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// "monitor DIR [--interval S] [--mqtt URL] [--mqtt-cafile FILE] [--name NAME]": the unattended
// measuring station. Records a sample every S seconds (1 to 86400) on the wall clock into one
// data file per day in DIR and, with --mqtt, publishes each one as station NAME (the host name
// unless given); goes on through a lost meter, a full disk and a lost broker; one line per
// event on standard error. Ends at SIGTERM or Ctrl-C (exit 0); SIGHUP reopens the data file.
// With --http [ADDR:]PORT it serves the station's page and API meanwhile (station/web), read
// only; --site gives the clear-sky curve and bars.
int RunMonitor(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
