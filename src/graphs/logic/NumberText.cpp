#include "NumberText.h"

#include <cmath>

namespace solardesk {
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
