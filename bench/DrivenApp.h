#pragma once

#include <memory>

#include "app/SolarDeskApp.h"
#include "core/NoDialogs.h"
#include "sim/VirtualHidBackend.h"

namespace solardesk {

// The program on a virtual meter under a manual clock, its timers paused so that the benchmark
// drives the ticks; a first polling tick has found the meter.
struct DrivenApp {
  DrivenApp() {
    app.instrument().PauseTimers();
    app.panel().Timer1Tick();
  }

  ManualClock clock;
  NoDialogs dialogs;
  sim::VirtualHidBackend bus;
  sim::VirtualPort& port = bus.AddPort(std::make_shared<sim::VirtualMeter>(clock));
  SolarDeskApp app{bus, clock, dialogs};
};

}  // namespace solardesk
