#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// "report FILE.pvd|DIR... -o REPORT.pdf [site options]": the site report (report/SiteReport.h)
// of the readings of the files given, one series (the parts of a recording, a folder of a
// station's day files), as a PDF file on the desktop's paper, written through the write gate.
int RunReport(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
