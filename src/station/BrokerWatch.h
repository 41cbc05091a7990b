#pragma once

#include <QDateTime>
#include <QString>
#include <cstddef>

#include "EventLog.h"
#include "core/Clock.h"

namespace solardesk::station {

// How the way to the broker fares, in as few event lines as tell it: one when the broker cannot
// be reached (with the reason), one more when the reason changes, a reminder at most every 15
// minutes with the samples waiting, and one when it is reached again. Also when to try again:
// a second after the first failure, twice as long after each further one, at most a minute.
class BrokerWatch {
 public:
  // `where` names the broker in the lines: "127.0.0.1:1883".
  BrokerWatch(QString where, const Clock& clock, EventSink events);

  // Whether the next attempt may start now.
  bool AttemptDue() const;
  // An attempt failed, or the connection ended, for `reason` ("not reachable: Connection
  // refused").
  void Failed(const QString& reason);
  void Connected(std::size_t waiting);
  // Says the reminder when one is due; called often.
  void Remind(std::size_t waiting);
  bool Away() const { return awaySince_.isValid(); }

  static constexpr int kMaxBackoffSeconds = 60;
  static constexpr int kReminderSeconds = 15 * 60;
  // A connection that lasted this long was a good one: the back-off starts again from a second.
  static constexpr int kStableSeconds = 60;

 private:
  QString where_;
  const Clock& clock_;
  EventSink events_;
  QDateTime awaySince_;
  QDateTime nextReminder_;
  QDateTime lastFailure_;
  QDateTime nextAttempt_;
  QDateTime connectedAt_;
  QString reason_;
  int failures_ = 0;  // in a row, counting connections too short to be good ones
};

// "45 s", "15 min", "3 h": a time span in its largest whole unit, up to twice that unit.
QString SpanText(long long seconds);

}  // namespace solardesk::station
