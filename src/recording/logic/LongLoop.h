#pragma once

#include <QElapsedTimer>
#include <QString>

namespace solardesk {

class Instrument;

// What a long loop of a list window (loading, saving, printing, plotting, flushing) needs from
// that window: its caption for the progress text, the busy pointer, and a way to let pending
// events run so the window stays responsive.
class LongLoop {
 public:
  virtual ~LongLoop() = default;
  virtual QString Caption() const = 0;
  virtual void SetCaption(const QString& text) = 0;
  virtual void SetBusy(bool busy) = 0;
  virtual void LetEventsRun() = 0;
};

// Shows a loop's progress no more often than a person can read it and lets events run at the
// same pace, so that a loop over hundreds of thousands of lines costs little more than the work
// itself. The caller sets the exact final text itself.
class ProgressPacer {
 public:
  explicit ProgressPacer(LongLoop& loop, bool letEventsRun = true, int periodMs = 100);
  // A loop that lets events run on behalf of the program's windows: it stops at its next step
  // once the program is ending (the main window closed while it ran).
  ProgressPacer(LongLoop& loop, const Instrument& instrument);
  // Called once per step: true when it is time to show the progress (with Show).
  bool Due() {
    if ((++steps_ & 0xFF) != 0 && steps_ != 1) return false;
    if (steps_ != 1 && timer_.elapsed() < periodMs_) return false;
    timer_.restart();
    return true;
  }
  // Shows `text` in the caption and, if the loop yields, lets pending events run. False when
  // the loop must stop there: the program is ending.
  bool Show(const QString& text);
  bool Stopped() const;

 private:
  LongLoop& loop_;
  bool letEventsRun_;
  const Instrument* instrument_ = nullptr;
  int periodMs_;
  QElapsedTimer timer_;
  unsigned steps_ = 0;
};

}  // namespace solardesk
