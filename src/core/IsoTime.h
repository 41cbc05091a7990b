#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace solardesk {

// The program's one writer of ISO 8601 times with their UTC offset,
// "2026-10-25T02:00:00+01:00": exports, statistics, the station's samples and its events.

inline constexpr int kIsoTimeLength = 25;

// A time in local seconds (Calendar.h) on a wall clock `offsetSeconds` east of UTC.
QString IsoTimeText(qint64 localSeconds, int offsetSeconds);
// A moment with the UTC offset it carries.
QString IsoTimeText(const QDateTime& t);

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
