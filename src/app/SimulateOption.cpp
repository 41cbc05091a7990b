#include "SimulateOption.h"

namespace solardesk {

SimulateOption TakeSimulateOption(QStringList& arguments) {
  SimulateOption option;
  const QString flag = QStringLiteral("--simulate");
  for (qsizetype i = 1; i < arguments.size();) {
    const QString& a = arguments[i];
    if (a == QLatin1String("--")) break;  // what follows is not an option
    if (a == flag || a.startsWith(flag + QLatin1Char('='))) {
      option.simulate = true;
      if (a.size() > flag.size()) option.scenarioPath = a.mid(flag.size() + 1);
      arguments.removeAt(i);
      continue;
    }
    ++i;
  }
  return option;
}

}  // namespace solardesk
