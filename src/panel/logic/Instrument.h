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

  // Timer1 off, then Timer2 off. Pauses nest: a handler that runs while another one's long
  // loop lets events run (a list saved during a download) pauses and resumes inside it.
  void PauseTimers();
  // Ends one pause. The outermost one turns Timer1 on, then Timer2, whatever their state was
  // before; an inner one leaves them off for the handler still running.
  void ResumeTimers();
  // Ends one pause but leaves both timers off even when it was the outermost: the set-up
  // chooser after a calibration write or with a schedule panel open. The next command that
  // pauses and resumes them brings them back.
  void EndPauseLeavingTimersOff();
  // Keeps Timer1 off, whatever resumes meanwhile, until released: the clock window from its
  // first meter-clock read until it closes. Releasing turns Timer1 on unless a pause is on.
  void HoldPolling(bool hold);
  bool TimersPaused() const { return pauses_ > 0; }

  // The program ends: both timers stop for good, the meter link closes and never opens again,
  // and every long loop stops at its next step.
  void End();
  bool Ending() const { return ending_; }

  // One polling tick's exchange and decode; true when the display should be redrawn.
  bool PollTick() { return PollDisplay(link, meter); }

  static constexpr int kPollingIntervalMs = 100;
  static constexpr int kRecordingIntervalMs = 1000;

 private:
  int pauses_ = 0;
  bool leftOff_ = false;  // the last pause to end asked for the timers to stay off
  bool pollingHeld_ = false;
  bool ending_ = false;
};

// Sets a timer's Enabled state; enabling restarts its period.
void SetTimerEnabled(QTimer& timer, bool enabled);

}  // namespace solardesk
