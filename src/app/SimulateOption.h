#pragma once

#include <QString>
#include <QStringList>

namespace solardesk {

// "--simulate" or "--simulate=SCENARIO.json": run on the virtual meter, described by the file
// when one is given. Both programs take it; it is taken out of the arguments before the rest
// are parsed, since its value is optional.
struct SimulateOption {
  bool simulate = false;
  QString scenarioPath;
};

SimulateOption TakeSimulateOption(QStringList& arguments);

}  // namespace solardesk
