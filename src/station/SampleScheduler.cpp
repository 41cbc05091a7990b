#include "SampleScheduler.h"

namespace solardesk::station {

namespace {

QDateTime StartOfDay(const QDate& d) {
  return d.startOfDay();
}

}  // namespace

QDateTime SampleScheduler::NextAtOrAfter(const QDateTime& t) const {
  QDateTime whole = t;
  if (whole.time().msec() != 0) whole = whole.addMSecs(1000 - whole.time().msec());
  const QDateTime midnight = StartOfDay(whole.date());
  const qint64 since = midnight.secsTo(whole);
  const qint64 k = (since + interval_ - 1) / interval_;
  const QDateTime slot = midnight.addSecs(k * interval_);
  // The last slot of a day may fall past midnight: the next day starts its own count.
  if (slot.date() != whole.date()) return std::min(slot, StartOfDay(whole.date().addDays(1)));
  return slot;
}

QDateTime SampleScheduler::After(const QDateTime& slot) const {
  return NextAtOrAfter(slot.addMSecs(1));
}

}  // namespace solardesk::station
