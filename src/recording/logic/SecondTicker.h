#pragma once

#include <QDateTime>
#include <QMetaObject>
#include <QTimer>
#include <functional>

#include "core/Clock.h"

namespace solardesk {

// Keeps a one-second timer in step with the wall clock. A coarse repeating timer drifts around
// the second boundary, so that some seconds get two ticks and others none; here every timeout
// schedules the next one just after the clock's next whole second, measured afresh each time,
// and a timeout that lands in a second already ticked (an early one) only schedules again. So
// every second of the clock gets at most one tick, and a late tick does not delay the next.
class SecondTicker {
 public:
  // `onSecond` runs at the first timeout in every new second of `clock`.
  SecondTicker(QTimer& timer, const Clock& clock, std::function<void()> onSecond);
  ~SecondTicker();
  SecondTicker(const SecondTicker&) = delete;
  SecondTicker& operator=(const SecondTicker&) = delete;

  // One timeout of the timer.
  void Timeout();
  // Whole seconds of the clock since the last tick; 0 before the first.
  qint64 SecondsSinceLastTick() const;

  // Milliseconds from `now` to just after the next whole second.
  static int MsToNextSecond(const QDateTime& now);
  // How far after the whole second a tick is aimed, so that a timer firing a little early by
  // the wall clock still lands in the new second.
  static constexpr int kMarginMs = 3;

 private:
  QTimer& timer_;
  const Clock& clock_;
  std::function<void()> onSecond_;
  qint64 lastSecond_ = -1;  // seconds since the epoch of the last tick
  QMetaObject::Connection connection_;
};

}  // namespace solardesk
