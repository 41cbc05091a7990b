#pragma once

#include <QLocale>
#include <QString>

#include "core/Numbers.h"

namespace solardesk {

// A value in its shortest plain decimal form with "." as separator: 10000 gives "10000", 2.5
// gives "2.5".
QString PlainNumberText(double value);

// The live graph's axis label: the value's plain text in the PC's number format, turned into a
// text with "." as separator and at least one decimal: 1250 gives "1250.0", 2.5 gives "2.5".
QString AxisLabelText(double value, const QLocale& locale);

// A value with exactly one decimal, halves rounded away from zero: 123.456 gives "123.5".
QString OneDecimalText(double value);

}  // namespace solardesk
