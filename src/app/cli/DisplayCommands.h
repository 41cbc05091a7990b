#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// One display query and decode, as a polling tick does it; false (with the error written) when
// the meter did not answer or its answer is too short to read.
bool ReadDisplay(CliContext& cli);

// "read": one display query; prints the reading text, a tab and the unit.
int RunRead(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
