#pragma once

#include <QString>
#include <QtGlobal>

namespace solardesk {

// Wall-clock times counted in seconds from 1970-01-01 00:00:00 of that same wall clock ("local
// seconds"), and dates of the Gregorian calendar as day numbers. No time zone is involved.

inline constexpr qint64 kSecondsPerDay = 86400;

struct CivilDate {
  int year = 1970;
  int month = 1;
  int day = 1;
};

// Days from 1970-01-01 to a date of the Gregorian calendar, and back.
qint64 DaysFromCivil(int year, int month, int day);
CivilDate CivilFromDays(qint64 days);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The day number of a time in local seconds (days before 1970 counted as negative).
inline qint64 DayOf(qint64 localSeconds) {
  return localSeconds >= 0 ? localSeconds / kSecondsPerDay
                           : -((-localSeconds + kSecondsPerDay - 1) / kSecondsPerDay);
}

// "YYYY-MM-DD" of a day number.
QString DateText(qint64 day);

}  // namespace solardesk
