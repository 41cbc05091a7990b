#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>
#include <unordered_map>

namespace solardesk {

// A moment of absolute time with the UTC offset of the wall clock at that moment.
struct Instant {
  qint64 utc = 0;  // seconds since 1970-01-01T00:00:00Z
  int offset = 0;  // seconds east of UTC
  qint64 local() const { return utc + offset; }
};

// The UTC offset of the system time zone (TZ honoured) at a moment.
int SystemUtcOffset(qint64 utc);

// Turns the wall-clock times of one series of samples into instants with the system time zone,
// taking the times in the order the series gives them:
// - a wall-clock time that exists once has its one instant, so across the spring change
//   01:59:59 and 03:00:00 lie one second apart;
// - a time of the hour that the autumn change repeats is its first pass, until the times step
//   back into that hour: from there on it is the second pass, so time never runs backwards;
// - a time that the spring change skipped names no instant.
// The time zone is asked once per wall-clock hour, not once per sample: a day of samples every
// second costs 24 look-ups.
class LocalTimeline {
 public:
  // `utcOffset` gives the offset in force at a moment; the system time zone by default.
  explicit LocalTimeline(int (*utcOffset)(qint64 utc) = SystemUtcOffset) : offsetAt_(utcOffset) {}

  // The next time of the series, in local seconds (see SampleTime.h) or as data-file text.
  std::optional<Instant> Next(qint64 localSeconds);
  std::optional<Instant> Next(QByteArrayView timeText);

 private:
  // The offsets under which a wall-clock time exists: none (skipped), one, or two (the repeated
  // hour; the first pass first). `exact` marks an hour with a change inside it, whose times are
  // looked up one by one.
  struct Offsets {
    int count = 0;
    int offset[2] = {0, 0};
    bool exact = false;
    bool operator==(const Offsets& o) const {
      return count == o.count && (count < 1 || offset[0] == o.offset[0]) &&
             (count < 2 || offset[1] == o.offset[1]);
    }
  };
  Offsets OffsetsAt(qint64 localSeconds) const;
  const Offsets& OffsetsOfHour(qint64 hour);

  int (*offsetAt_)(qint64 utc);
  std::unordered_map<qint64, Offsets> hours_;
  // The hour asked last, kept by value so that a copy of the timeline stands on its own.
  qint64 lastHour_ = 0;
  bool hasLast_ = false;
  Offsets last_;
  std::optional<qint64> previous_;  // the instant of the last time resolved
};

}  // namespace solardesk
