#pragma once

#include <QTimer>
#include <cstdint>

#include "PollingCycle.h"
#include "PubMeter.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "link/MeterLink.h"
#include "link/OutputSlots.h"

namespace solardesk {

// The state every handler shares for the life of the program: the byte slots and the meter
// link, the published reading, the main window's two timers, the logger set count, the clock
// and the dialogs. Handlers that talk to the meter pause both timers around their exchange, so
// that no polling or recording tick falls between a command and its answer.
class Instrument {
 public:
  Instrument(HidBackend& backend, Clock& clock, Dialogs& dialogs);

  OutputSlots byteSlots;
  MeterLink link;
  PubMeter meter;
  QTimer Timer1;                    // polling, 100 ms
  QTimer Timer2;                    // recording tick, 1000 ms
  std::uint8_t LoggerSetCount = 0;  // record sets in the meter's logger, as last reported
  Clock& clock;
  Dialogs& dialogs;

  // Timer1 off, then Timer2 off.
  void PauseTimers();
  // Timer1 on, then Timer2 on, whatever their state was before.
  void ResumeTimers();
  // One polling tick's exchange and decode; true when the display should be redrawn.
  bool PollTick() { return PollDisplay(link, meter); }

  static constexpr int kPollingIntervalMs = 100;
  static constexpr int kRecordingIntervalMs = 1000;
};

// Sets a timer's Enabled state; enabling restarts its period.
void SetTimerEnabled(QTimer& timer, bool enabled);

}  // namespace solardesk
