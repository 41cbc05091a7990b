#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace solardesk {

// An input report as the link holds it: index 0 is the report ID, the data follow.
using Report = std::vector<std::uint8_t>;

// Byte `index` of a report, or 0 when the report does not reach that far.
std::uint8_t ReportByte(const Report& report, std::size_t index);

// A set-up field as the lists show it: the number in decimal, prefixed with "0" and cut to its
// last two characters (5 gives "05", 112 gives "12").
QString FieldText(unsigned value);

// The numeric value of a field text: leading blanks skipped, an optional sign, then the leading
// digits; an empty or non-numeric text gives 0. Very long numbers stop growing past 99999999.
qint64 FieldValue(const QString& text);

}  // namespace solardesk
