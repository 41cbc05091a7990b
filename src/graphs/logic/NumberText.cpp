#include "NumberText.h"

#include <QRegularExpression>
#include <cmath>

namespace solardesk {
QString PlainNumberText(double value) {
  return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString PlainNumberText(double value, QChar decimalSign) {
  QString text = PlainNumberText(value);
  return text.replace(QLatin1Char('.'), decimalSign);
}

std::optional<double> TypedNumber(const QString& text, QChar decimalSign) {
  static const QRegularExpression number(QStringLiteral(R"(^\s*([-+]?)(\d*)(?:([.,])(\d*))?\s*$)"));
  const QRegularExpressionMatch m = number.match(text);
  if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(4).isEmpty())) return std::nullopt;
  const QString mark = m.captured(3);
  if (!mark.isEmpty() && mark != QStringLiteral(".") && mark != QString(decimalSign))
    return std::nullopt;
  const QString plain = m.captured(1) +
                        (m.captured(2).isEmpty() ? QStringLiteral("0") : m.captured(2)) +
                        QLatin1Char('.') + m.captured(4) + QLatin1Char('0');
  bool ok = false;
  const double value = plain.toDouble(&ok);  // QString::toDouble reads the C form
  return ok ? std::optional<double>(value) : std::nullopt;
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
