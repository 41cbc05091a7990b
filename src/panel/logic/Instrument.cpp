#include "Instrument.h"

#include "PollingCycle.h"

namespace solardesk {

Instrument::Instrument(HidBackend& backend, Clock& clk, Dialogs& dlg)
    : link(backend, byteSlots), clock(clk), dialogs(dlg) {
  Timer1.setInterval(kPollingIntervalMs);
  Timer2.setInterval(kRecordingIntervalMs);
}

void Instrument::PauseTimers() {
  SetTimerEnabled(Timer1, false);
  SetTimerEnabled(Timer2, false);
}

void Instrument::ResumeTimers() {
  SetTimerEnabled(Timer1, true);
  SetTimerEnabled(Timer2, true);
}

void SetTimerEnabled(QTimer& timer, bool enabled) {
  if (enabled) {
    timer.start();
  } else {
    timer.stop();
  }
}

}  // namespace solardesk
