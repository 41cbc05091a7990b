#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <optional>

namespace solardesk {

// The program's one reader of numbers in texts: files, fields, entries and meter answers are read
// the same under every locale, with "." before the decimals and no grouping. Each rule below has
// its own name; all of them scan with the same code.

// The number a text begins with: leading spaces skipped, then a sign, figures with at most one
// point, and an exponent when figures follow it; the number ends at the first character that
// cannot continue it. 0 when the text does not begin with a number or the number is beyond the
// range of a double.
double LeadingNumber(QByteArrayView text);
double LeadingNumber(QStringView text);

// The stricter rule of a field that takes no sign and no exponent (the logger's interval):
// leading spaces skipped, then figures with at most one point; 0 when there are none.
double LeadingUnsignedNumber(QByteArrayView text);

// A whole text as a number, the rule of a reading: the text without the blanks around it is a
// minus sign or none, figures with at most one point, and an exponent. Blank, "OL", dashes,
// "1,5", "+5", "12abc", "inf", "nan" and a value beyond the range of a double are no number.
std::optional<double> ReadingValue(QByteArrayView text);

}  // namespace solardesk
