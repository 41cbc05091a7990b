#include "FieldText.h"

namespace solardesk {

std::uint8_t ReportByte(const Report& report, std::size_t index) {
  return index < report.size() ? report[index] : 0;
}

QString FieldText(unsigned value) {
  return (QStringLiteral("0") + QString::number(value)).right(2);
}

qint64 FieldValue(const QString& text) {
  constexpr qint64 kCeiling = 99999999;
  const QString t = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
    negative = t[i] == QLatin1Char('-');
    ++i;
  }
  qint64 value = 0;
  for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i) {
    value = std::min(kCeiling, value * 10 + (t[i].unicode() - '0'));
  }
  return negative ? -value : value;
}

}  // namespace solardesk
