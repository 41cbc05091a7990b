#pragma once

#include <QLocale>
#include <QString>
#include <optional>

#include "core/Numbers.h"

namespace solardesk {

// A value in its shortest plain decimal form with "." as separator: 10000 gives "10000", 2.5
// gives "2.5".
QString PlainNumberText(double value);

// The live graph's axis label: the value's plain text in the PC's number format, turned into a
// text with "." as separator and at least one decimal: 1250 gives "1250.0", 2.5 gives "2.5".
QString AxisLabelText(double value, const QLocale& locale);

// What a person types into a number field whose decimal sign is `decimalSign`: an optional sign,
// digits and at most one decimal sign, which may be `decimalSign` or "."; no grouping, no
// exponent, blanks around it allowed ("0,5" and "0.5" give 0.5 where the sign is ","). Nothing
// for a text that is not such a number: "1.000,5", "1,5" where the sign is ".", "abc", "".
std::optional<double> TypedNumber(const QString& text, QChar decimalSign);

// `value`'s plain text with `decimalSign` before the decimals: 2.5 gives "2,5" for ",".
QString PlainNumberText(double value, QChar decimalSign);

// A value with exactly one decimal, halves rounded away from zero: 123.456 gives "123.5".
QString OneDecimalText(double value);

}  // namespace solardesk
