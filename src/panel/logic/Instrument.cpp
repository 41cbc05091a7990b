#include "Instrument.h"

#include "PollingCycle.h"

namespace solardesk {

Instrument::Instrument(HidBackend& backend, Clock& clk, Dialogs& dlg)
    : link(backend, byteSlots), clock(clk), dialogs(dlg) {
  Timer1.setInterval(kPollingIntervalMs);
  Timer2.setInterval(kRecordingIntervalMs);
}

void Instrument::PauseTimers() {
  ++pauses_;
  // A command that starts after the timers were left off is the one that brings them back.
  leftOff_ = false;
  SetTimerEnabled(Timer1, false);
  SetTimerEnabled(Timer2, false);
}

void Instrument::ResumeTimers() {
  if (pauses_ > 0) --pauses_;
  if (pauses_ > 0 || leftOff_ || ending_) return;
  SetTimerEnabled(Timer1, !pollingHeld_);
  SetTimerEnabled(Timer2, true);
}

void Instrument::EndPauseLeavingTimersOff() {
  if (pauses_ > 0) --pauses_;
  leftOff_ = true;
  SetTimerEnabled(Timer1, false);
  SetTimerEnabled(Timer2, false);
}

void Instrument::HoldPolling(bool hold) {
  pollingHeld_ = hold;
  if (hold) {
    SetTimerEnabled(Timer1, false);
  } else if (pauses_ == 0 && !ending_) {
    SetTimerEnabled(Timer1, true);
  }
}

void Instrument::End() {
  ending_ = true;
  SetTimerEnabled(Timer1, false);
  SetTimerEnabled(Timer2, false);
  link.CloseForGood();
}

void SetTimerEnabled(QTimer& timer, bool enabled) {
  if (enabled) {
    timer.start();
  } else {
    timer.stop();
  }
}

}  // namespace solardesk
