#include "SimulateOption.h"

#include "link/HidApiBackend.h"
#include "sim/Scenario.h"

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

ChosenBus ChooseBus(const SimulateOption& option, const Clock& clock) {
  ChosenBus chosen;
  if (!option.simulate) {
    chosen.bus = std::make_unique<HidApiBackend>();
    return chosen;
  }
  auto scenario = option.scenarioPath.isEmpty() ? sim::LoadScenario("{}", clock)
                                                : sim::LoadScenarioFile(option.scenarioPath, clock);
  chosen.error = scenario.error;
  chosen.bus = std::move(scenario.bus);
  chosen.meter = std::move(scenario.meter);
  return chosen;
}

}  // namespace solardesk
