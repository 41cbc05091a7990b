#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "panel/logic/DisplayDecode.h"
#include "panel/logic/Instrument.h"
#include "sim/Scenario.h"

using namespace solardesk;

// Any bytes as a scenario file for --simulate: it is refused with a reason and no meter, or
// gives a meter on a bus whose settings lie within their ranges (a unit the meter knows,
// report lengths of 1 to 4096 bytes). The meter then answers polls over the next day, its
// timeline playing as the clock goes on, and every reading shown has the display's form.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::EnsureApplication();
  ManualClock clock;
  sim::ScenarioResult scenario = sim::LoadScenario(
      QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), clock);
  if (!scenario.error.isEmpty()) {
    if (scenario.bus || scenario.meter) __builtin_trap();
    return 0;
  }
  if (!scenario.bus || !scenario.meter || scenario.bus->ports().size() != 1) __builtin_trap();
  const sim::VirtualPort& port = scenario.bus->port(0);
  const QString& unit = scenario.meter->unit;
  if (unit != kUnitWatts && unit != kUnitBtu && !unit.isEmpty()) __builtin_trap();
  for (int length : {port.inputReportLength, port.outputReportLength}) {
    if (length < 1 || length > 4096) __builtin_trap();
  }

  NoDialogs dialogs;
  Instrument instrument(*scenario.bus, clock, dialogs);
  for (qint64 step : {0LL, 1000LL, 60'000LL, 3'600'000LL, 86'400'000LL}) {
    clock.advanceMs(step);
    if (instrument.PollTick()) {
      const QString text = instrument.meter.ReadingText;
      if (text.size() < 4 || text.size() > 5) __builtin_trap();
    }
  }
  return 0;
}
