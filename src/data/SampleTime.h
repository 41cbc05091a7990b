#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

#include "core/Calendar.h"

namespace solardesk {

// The date and time of a record as the data files write them, in local seconds (Calendar.h):
// "YYYY/MM/DD hh:nn:ss" (recording and list forms) or "yy/mm/dd hh:nn:ss" (logger form, the
// year read as 20yy); blanks around it do not count. Nothing when the text is neither or names
// no date and time of the calendar (2026/02/30, 24:00:00).
std::optional<qint64> ParseSampleTime(QByteArrayView text);

}  // namespace solardesk
