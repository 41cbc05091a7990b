#include "MeterClock.h"

namespace solardesk {

QString FormatMeterClock(const Report& inputReport) {
  const auto field = [&inputReport](std::size_t k) {
    return QStringLiteral("%1").arg(ReportByte(inputReport, k), 2, 16, QLatin1Char('0')).toUpper();
  };
  return QStringLiteral("%1/%2/%3 %4:%5:%6")
      .arg(field(1), field(2), field(3), field(4), field(5), field(6));
}

QString FormatPcClock(const QDateTime& t) {
  return t.toString(QStringLiteral("yy/MM/dd HH:mm:ss"));
}

std::array<unsigned, 6> ClockSettingValues(const QDateTime& t) {
  // Cut from the displayed text, so the values are exactly what the window shows.
  const QString text = FormatPcClock(t);
  std::array<unsigned, 6> values{};
  for (std::size_t k = 0; k < values.size(); ++k) {
    values[k] = text.mid(static_cast<qsizetype>(k * 3), 2).toUInt();
  }
  return values;
}

}  // namespace solardesk
