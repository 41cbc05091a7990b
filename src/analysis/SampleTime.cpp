#include "SampleTime.h"

#include <cstdlib>
#include <cstring>

namespace solardesk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The figures at positions `at` and `at + 1` as a number, or -1 when either is not a figure.
int TwoDigits(QByteArrayView t, qsizetype at) {
  if (!IsDigit(t[at]) || !IsDigit(t[at + 1])) return -1;
  return (t[at] - '0') * 10 + (t[at + 1] - '0');
}

bool IsLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

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

std::optional<qint64> ParseSampleTime(QByteArrayView text) {
  while (!text.empty() && text.front() == ' ') text = text.sliced(1);
  while (!text.empty() && text.back() == ' ') text.chop(1);
  int century = 20;
  if (text.size() == 19) {
    century = TwoDigits(text, 0);
    if (century < 0) return std::nullopt;
    text = text.sliced(2);
  } else if (text.size() != 17) {
    return std::nullopt;
  }
  // yy/mm/dd hh:nn:ss
  if (text[2] != '/' || text[5] != '/' || text[8] != ' ' || text[11] != ':' || text[14] != ':')
    return std::nullopt;
  const int yy = TwoDigits(text, 0), month = TwoDigits(text, 3), day = TwoDigits(text, 6);
  const int hour = TwoDigits(text, 9), minute = TwoDigits(text, 12), second = TwoDigits(text, 15);
  if (yy < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59)
    return std::nullopt;
  const int year = century * 100 + yy;
  if (day > DaysInMonth(year, month)) return std::nullopt;
  return DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

// The civil-calendar conversions count in eras of 400 years, which repeat exactly.
qint64 DaysFromCivil(int year, int month, int day) {
  const qint64 y = year - (month <= 2 ? 1 : 0);
  const qint64 era = (y >= 0 ? y : y - 399) / 400;
  const qint64 yearOfEra = y - era * 400;
  const qint64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilFromDays(qint64 days) {
  days += 719468;
  const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
  const qint64 dayOfEra = days - era * 146097;
  const qint64 yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const qint64 mp = (5 * dayOfYear + 2) / 153;
  CivilDate d;
  d.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  d.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  d.year = static_cast<int>(yearOfEra + era * 400 + (d.month <= 2 ? 1 : 0));
  return d;
}

QString DateText(qint64 day) {
  char buffer[10];
  PutDate(buffer, day);
  return QString::fromLatin1(buffer, sizeof buffer);
}

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

}  // namespace solardesk
