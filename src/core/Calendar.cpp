#include "Calendar.h"

#include "IsoTime.h"

namespace solardesk {

bool IsLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
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
  // The date part of an ISO time at the start of that day.
  return IsoTimeText(day * kSecondsPerDay, 0).left(10);
}

}  // namespace solardesk
