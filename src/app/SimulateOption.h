#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "core/Clock.h"
#include "link/HidDevice.h"

namespace solardesk {

namespace sim {
class VirtualMeter;
}

// "--simulate" or "--simulate=SCENARIO.json": run on the virtual meter, described by the file
// when one is given. Both programs take it; it is taken out of the arguments before the rest
// are parsed, since its value is optional.
struct SimulateOption {
  bool simulate = false;
  QString scenarioPath;
};

SimulateOption TakeSimulateOption(QStringList& arguments);

// The HID bus a program talks to: the real one, or the virtual meter's as the option asks.
// On a scenario file that cannot be used, `error` says why (naming the key) and `bus` is null.
struct ChosenBus {
  std::unique_ptr<HidBackend> bus;
  std::shared_ptr<sim::VirtualMeter> meter;  // the virtual meter, kept alive with its bus
  QString error;
};

ChosenBus ChooseBus(const SimulateOption& option, const Clock& clock);

}  // namespace solardesk
