#include "LongLoop.h"

#include "panel/logic/Instrument.h"

namespace solardesk {

ProgressPacer::ProgressPacer(LongLoop& loop, bool letEventsRun, int periodMs)
    : loop_(loop), letEventsRun_(letEventsRun), periodMs_(periodMs) {
  timer_.start();
}

ProgressPacer::ProgressPacer(LongLoop& loop, const Instrument& instrument) : ProgressPacer(loop) {
  instrument_ = &instrument;
}

bool ProgressPacer::Show(const QString& text) {
  if (Stopped()) return false;
  loop_.SetCaption(text);
  if (letEventsRun_) loop_.LetEventsRun();
  return !Stopped();
}

bool ProgressPacer::Stopped() const {
  return instrument_ && instrument_->Ending();
}

}  // namespace solardesk
