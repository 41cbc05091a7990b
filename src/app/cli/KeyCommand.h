#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// "key NAME [--long]": presses a key of the meter as a click on the meter picture does; with
// --long the key is held for two seconds before it is released.
int RunKey(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
