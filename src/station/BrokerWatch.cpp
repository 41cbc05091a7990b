#include "BrokerWatch.h"

#include <algorithm>

namespace solardesk::station {

QString SpanText(long long seconds) {
  if (seconds < 120) return QStringLiteral("%1 s").arg(seconds);
  if (seconds < 120 * 60) return QStringLiteral("%1 min").arg(seconds / 60);
  return QStringLiteral("%1 h").arg(seconds / 3600);
}

BrokerWatch::BrokerWatch(QString where, const Clock& clock, EventSink events)
    : where_(std::move(where)), clock_(clock), events_(std::move(events)) {}

bool BrokerWatch::AttemptDue() const {
  if (!nextAttempt_.isValid()) return true;
  const QDateTime now = clock_.now();
  // A clock set back must not hold the station off the broker until it catches up.
  return now >= nextAttempt_ || now < lastFailure_;
}

void BrokerWatch::Failed(const QString& reason) {
  const QDateTime now = clock_.now();
  if (connectedAt_.isValid() && connectedAt_.secsTo(now) >= kStableSeconds) failures_ = 0;
  connectedAt_ = {};
  ++failures_;
  const int backoff = std::min(kMaxBackoffSeconds, 1 << std::min(failures_ - 1, 6));
  lastFailure_ = now;
  nextAttempt_ = now.addSecs(backoff);
  if (!Away()) {
    awaySince_ = now;
    nextReminder_ = now.addSecs(kReminderSeconds);
    events_(QStringLiteral("broker %1: %2; samples wait for it").arg(where_, reason));
  } else if (reason != reason_) {
    events_(QStringLiteral("broker %1: %2").arg(where_, reason));
  }
  reason_ = reason;
}

void BrokerWatch::Connected(std::size_t waiting) {
  const QDateTime now = clock_.now();
  connectedAt_ = now;
  if (Away()) {
    events_(QStringLiteral("broker %1 connected after %2 unreachable; %3 samples waiting")
                .arg(where_, SpanText(awaySince_.secsTo(now)))
                .arg(waiting));
  } else {
    events_(QStringLiteral("broker %1 connected").arg(where_));
  }
  awaySince_ = {};
  reason_.clear();
}

void BrokerWatch::Remind(std::size_t waiting) {
  if (!Away()) return;
  const QDateTime now = clock_.now();
  if (now < nextReminder_) return;
  events_(QStringLiteral("broker %1 unreachable for %2, %3 samples waiting")
              .arg(where_, SpanText(awaySince_.secsTo(now)))
              .arg(waiting));
  nextReminder_ = now.addSecs(kReminderSeconds);
}

}  // namespace solardesk::station
