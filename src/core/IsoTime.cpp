#include "IsoTime.h"

#include <cstdlib>
#include <cstring>

#include "Calendar.h"

namespace solardesk {
namespace {

char* PutTwo(char* p, int v) {
  *p++ = static_cast<char>('0' + v / 10);
  *p++ = static_cast<char>('0' + v % 10);
  return p;
}

// "YYYY-MM-DD" into `p` (10 characters); years outside 0..9999 are not written by any meter.
char* PutDate(char* p, qint64 day) {
  const CivilDate d = CivilFromDays(day);
  const int y = d.year < 0 ? 0 : d.year % 10000;
  p = PutTwo(p, y / 100);
  p = PutTwo(p, y % 100);
  *p++ = '-';
  p = PutTwo(p, d.month);
  *p++ = '-';
  return PutTwo(p, d.day);
}

}  // namespace

char* IsoTimeWriter::Write(char* out, qint64 localSeconds, int offsetSeconds) {
  const qint64 day = DayOf(localSeconds);
  if (!hasDay_ || day != day_) {
    PutDate(date_, day);
    day_ = day;
    hasDay_ = true;
  }
  std::memcpy(out, date_, sizeof date_);
  char* p = out + sizeof date_;
  const int s = static_cast<int>(localSeconds - day * kSecondsPerDay);
  *p++ = 'T';
  p = PutTwo(p, s / 3600);
  *p++ = ':';
  p = PutTwo(p, s / 60 % 60);
  *p++ = ':';
  p = PutTwo(p, s % 60);
  *p++ = offsetSeconds < 0 ? '-' : '+';
  const int minutes = std::abs(offsetSeconds) / 60;
  p = PutTwo(p, minutes / 60 % 100);
  *p++ = ':';
  return PutTwo(p, minutes % 60);
}

QString IsoTimeText(qint64 localSeconds, int offsetSeconds) {
  char text[kIsoTimeLength];
  IsoTimeWriter().Write(text, localSeconds, offsetSeconds);
  return QString::fromLatin1(text, kIsoTimeLength);
}

QString IsoTimeText(const QDateTime& t) {
  const int offset = t.offsetFromUtc();
  return IsoTimeText(t.toSecsSinceEpoch() + offset, offset);
}

}  // namespace solardesk
