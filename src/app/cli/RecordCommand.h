#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// "record FILE [--interval S] [--count N]": file recording as the toolbar's "Save" starts it,
// with the polling cycle every 100 ms and the recording tick every second. Ends after N
// samples, at Ctrl-C or SIGTERM, or when the meter changes its unit.
int RunRecord(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
