#pragma once

#include <QDateTime>
#include <QString>
#include <array>

#include "FieldText.h"

namespace solardesk {

// The meter's clock answer, bytes 1 to 6 (year, month, day, hour, minute, second in packed
// decimal), as "yy/mm/dd hh:mm:ss". Each byte shows as its two hexadecimal digits, so a byte
// that is not packed decimal (0x1A) reads "1A".
QString FormatMeterClock(const Report& inputReport);

// The PC clock as the clock window shows it: "yy/mm/dd hh:mm:ss".
QString FormatPcClock(const QDateTime& t);

// The six numbers the meter clock is set with: two-digit year, month, day, hour, minute,
// second of the given local time, each the number itself (26 stays 26, not 0x26).
std::array<unsigned, 6> ClockSettingValues(const QDateTime& t);

}  // namespace solardesk
