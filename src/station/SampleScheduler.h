#pragma once

#include <QDateTime>

namespace solardesk::station {

// When the station takes its samples: every `interval` seconds on the wall clock, counted from
// local midnight (so at 1 s on every second, at 60 s on every whole minute), starting again at
// each midnight. Being on the wall clock, the samples never drift however long the station
// runs, and a restart keeps the same times.
class SampleScheduler {
 public:
  explicit SampleScheduler(int intervalSeconds) : interval_(intervalSeconds) {}

  // The first sample time at or after `t` (`t` cut to its whole second first).
  QDateTime NextAtOrAfter(const QDateTime& t) const;
  // The sample time after `slot`.
  QDateTime After(const QDateTime& slot) const;
  int interval() const { return interval_; }

 private:
  int interval_;
};

}  // namespace solardesk::station
