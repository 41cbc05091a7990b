#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace solardesk {

// Wall-clock times as the data files write them, counted in seconds from 1970-01-01 00:00:00
// of that same wall clock ("local seconds"). No time zone is involved at this stage.

inline constexpr qint64 kSecondsPerDay = 86400;

// "YYYY/MM/DD hh:nn:ss" (recording and list forms) or "yy/mm/dd hh:nn:ss" (logger form, the
// year read as 20yy); blanks around it do not count. Nothing when the text is neither or names
// no date and time of the calendar (2026/02/30, 24:00:00).
std::optional<qint64> ParseSampleTime(QByteArrayView text);

struct CivilDate {
  int year = 1970;
  int month = 1;
  int day = 1;
};

// Days from 1970-01-01 to a date of the Gregorian calendar, and back.
qint64 DaysFromCivil(int year, int month, int day);
CivilDate CivilFromDays(qint64 days);

// The day number of a time in local seconds (days before 1970 counted as negative).
inline qint64 DayOf(qint64 localSeconds) {
  return localSeconds >= 0 ? localSeconds / kSecondsPerDay
                           : -((-localSeconds + kSecondsPerDay - 1) / kSecondsPerDay);
}

// "YYYY-MM-DD" of a day number.
QString DateText(qint64 day);

// ISO 8601 with the UTC offset, "2026-10-25T02:00:00+01:00".
inline constexpr int kIsoTimeLength = 25;
QString IsoTimeText(qint64 localSeconds, int offsetSeconds);

// Writes ISO 8601 times one after another, working the date out only when the day changes.
class IsoTimeWriter {
 public:
  // Writes kIsoTimeLength characters at `out`; returns the position after them.
  char* Write(char* out, qint64 localSeconds, int offsetSeconds);

 private:
  qint64 day_ = 0;
  bool hasDay_ = false;
  char date_[10] = {};
};

}  // namespace solardesk
