#include "SingleText.h"

#include <cmath>

namespace solardesk {
namespace {

// "1.500000" -> "1.5", "2.000000" -> "2".
QString WithoutTrailingZeros(QString digits) {
  if (!digits.contains(QLatin1Char('.'))) return digits;
  while (digits.endsWith(QLatin1Char('0'))) digits.chop(1);
  if (digits.endsWith(QLatin1Char('.'))) digits.chop(1);
  return digits;
}

}  // namespace

QString SingleText(float value) {
  if (value == 0.0f) return QStringLiteral("0");
  if (!std::isfinite(value))
    return std::isnan(value) ? QStringLiteral("NaN") : QStringLiteral("Inf");
  // Seven significant figures decide both the digits and where the point goes.
  const QString scientific = QString::number(static_cast<double>(value), 'E', 6);
  const qsizetype e = scientific.indexOf(QLatin1Char('E'));
  const int exponent = scientific.mid(e + 1).toInt();
  if (exponent >= 7 || exponent < -5) {
    QString text = WithoutTrailingZeros(scientific.left(e));
    const QString sign = exponent < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return text + QStringLiteral("E") + sign +
           QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
  }
  return WithoutTrailingZeros(
      QString::number(static_cast<double>(value), 'f', std::max(0, 6 - exponent)));
}

}  // namespace solardesk
