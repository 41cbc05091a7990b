#include "LocalTimeline.h"

#include <QDateTime>

#include "SampleTime.h"

namespace solardesk {

int SystemUtcOffset(qint64 utc) {
  return QDateTime::fromSecsSinceEpoch(utc, Qt::LocalTime).offsetFromUtc();
}

// Offset changes lie months apart, so the offsets in force a day before and a day after a
// wall-clock time are the only candidates; a candidate holds when the instant it gives really
// has that offset.
LocalTimeline::Offsets LocalTimeline::OffsetsAt(qint64 localSeconds) const {
  const int before = offsetAt_(localSeconds - kSecondsPerDay);
  const int after = offsetAt_(localSeconds + kSecondsPerDay);
  Offsets o;
  for (const int candidate : {before, after}) {
    if (o.count > 0 && o.offset[0] == candidate) continue;
    if (offsetAt_(localSeconds - candidate) == candidate) o.offset[o.count++] = candidate;
  }
  // The larger offset gives the earlier instant: the first pass.
  if (o.count == 2 && o.offset[0] < o.offset[1]) std::swap(o.offset[0], o.offset[1]);
  return o;
}

const LocalTimeline::Offsets& LocalTimeline::OffsetsOfHour(qint64 hour) {
  if (hasLast_ && hour == lastHour_) return last_;
  auto it = hours_.find(hour);
  if (it == hours_.end()) {
    Offsets o = OffsetsAt(hour * 3600);
    o.exact = !(OffsetsAt(hour * 3600 + 3599) == o);
    it = hours_.emplace(hour, o).first;
  }
  lastHour_ = hour;
  hasLast_ = true;
  last_ = it->second;
  return last_;
}

std::optional<Instant> LocalTimeline::Next(qint64 localSeconds) {
  const qint64 hour = localSeconds >= 0 ? localSeconds / 3600 : (localSeconds - 3599) / 3600;
  Offsets o = OffsetsOfHour(hour);
  if (o.exact) o = OffsetsAt(localSeconds);
  if (o.count == 0) return std::nullopt;
  int offset = o.offset[0];
  if (o.count == 2 && previous_ && localSeconds - o.offset[0] < *previous_ &&
      localSeconds - o.offset[1] >= *previous_)
    offset = o.offset[1];
  previous_ = localSeconds - offset;
  return Instant{localSeconds - offset, offset};
}

std::optional<Instant> LocalTimeline::Next(QByteArrayView timeText) {
  const std::optional<qint64> local = ParseSampleTime(timeText);
  if (!local) return std::nullopt;
  return Next(*local);
}

}  // namespace solardesk
