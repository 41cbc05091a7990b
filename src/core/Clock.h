#pragma once

#include <QDateTime>

namespace solardesk {

// Where every handler gets the time of day from, so that tests of intervals, midnight and long
// key presses set the time instead of sleeping.
class Clock {
 public:
  virtual ~Clock() = default;
  // The PC's local date and time.
  virtual QDateTime now() const = 0;
  // Seconds since local midnight, single precision, as the key handlers measure presses.
  float secondsSinceMidnight() const;
};

class SystemClock final : public Clock {
 public:
  QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until it is set or advanced.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 12, 4), QTime(12, 0, 0)))
      : now_(std::move(start)) {}
  QDateTime now() const override { return now_; }
  void set(const QDateTime& t) { now_ = t; }
  void advanceMs(qint64 ms) { now_ = now_.addMSecs(ms); }

 private:
  QDateTime now_;
};

}  // namespace solardesk
