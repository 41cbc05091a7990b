#include "LongLoop.h"

namespace solardesk {

ProgressPacer::ProgressPacer(LongLoop& loop, bool letEventsRun, int periodMs)
    : loop_(loop), letEventsRun_(letEventsRun), periodMs_(periodMs) {
  timer_.start();
}

void ProgressPacer::Show(const QString& text) {
  loop_.SetCaption(text);
  if (letEventsRun_) loop_.LetEventsRun();
}

}  // namespace solardesk
