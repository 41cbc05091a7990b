#include "NumberText.h"

#include <cmath>

namespace solardesk {
namespace {

bool IsDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

double LeadingNumber(const QString& text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i] == QLatin1Char(' ')) ++i;
  const qsizetype start = i;
  if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) ++i;
  qsizetype digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == QLatin1Char('.')) {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  // An exponent belongs to the number only when at least one digit follows it.
  if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
    qsizetype j = i + 1;
    if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+'))) ++j;
    if (j < n && IsDigit(text[j])) {
      while (j < n && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  bool ok = false;
  const double v = text.mid(start, i - start).toDouble(&ok);
  return ok && std::isfinite(v) ? v : 0.0;
}

QString PlainNumberText(double value) {
  return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString AxisLabelText(double value, const QLocale& locale) {
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  const QString s = plain.toString(value, 'f', QLocale::FloatingPointShortest);
  const QChar comma = QLatin1Char(',');
  const QChar point = QLatin1Char('.');
  if (!s.contains(comma) && !s.contains(point)) return s + QStringLiteral(".0");
  if (s.endsWith(comma)) return s.chopped(1) + QStringLiteral(".0");
  if (s.startsWith(comma)) return QStringLiteral("0.") + s.mid(1);
  QString label = s;
  const QChar separator = s.contains(comma) ? comma : point;
  label[label.indexOf(separator)] = point;
  return label;
}

QString OneDecimalText(double value) {
  // std::round takes halves away from zero; adding 0.0 turns a negative zero into "0.0".
  const double tenths = std::round(value * 10.0) / 10.0 + 0.0;
  return QString::number(tenths, 'f', 1);
}

}  // namespace solardesk
