#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// "watch [--format text|csv|json|influx] [--interval S] [--count N]": the reading as a stream
// for people and for other programs. Without --interval a line for the first answer and for
// every change of the reading or its unit; with it, a line every S seconds on the wall clock
// while the meter answers. Stops after N lines or at Ctrl-C.
int RunWatch(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
