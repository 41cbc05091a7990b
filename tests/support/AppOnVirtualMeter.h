#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/SolarDeskApp.h"
#include "core/Clock.h"
#include "panel/ui/KeyBinder.h"
#include "setup/ui/SetupArea.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualMeter.h"
#include "support/ScriptedDialogs.h"

namespace solardesk::testing {

// The whole program on a virtual meter with a manual clock and scripted dialogs. Header only:
// include it from test programs that link solardesk_app and solardesk_sim.
struct AppOnVirtualMeter {
  ManualClock clock;
  sim::VirtualHidBackend bus;
  std::shared_ptr<sim::VirtualMeter> meter = std::make_shared<sim::VirtualMeter>(clock);
  sim::VirtualPort& port = bus.AddPort(meter);
  ScriptedDialogs dialogs;
  SolarDeskApp app{bus, clock, dialogs};

  Instrument& instrument() { return app.instrument(); }
  PanelWindow& panel() { return app.panel(); }
  bool TimersRunning() { return instrument().Timer1.isActive() && instrument().Timer2.isActive(); }

  // One polling tick, so that the meter is found and has answered once; then forgets what the
  // meter received so far.
  void Connect() {
    panel().Timer1Tick();
    meter->received.clear();
  }

  // The commands the meter received, each cut to its first `bytes` bytes, without the display
  // queries of polling ticks.
  std::vector<std::vector<std::uint8_t>> Commands(std::size_t bytes = 3) const {
    std::vector<std::vector<std::uint8_t>> out;
    for (const auto& r : meter->received) {
      if (r.size() >= 3 && r[1] == 0x02 && r[2] == 0x01) continue;
      out.emplace_back(r.begin(),
                       r.begin() + static_cast<std::ptrdiff_t>(std::min(bytes, r.size())));
    }
    return out;
  }
};

}  // namespace solardesk::testing
