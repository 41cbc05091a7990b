#include "SampleFormats.h"

#include <QTimeZone>

#include "EventLog.h"
#include "panel/logic/DisplayDecode.h"

namespace solardesk::station {

namespace {

// Backslashes before the characters that end a tag key or value in line protocol.
QString InfluxTag(QString text) {
  for (const char* c : {",", "=", " "})
    text.replace(QLatin1String(c), QLatin1Char('\\') + QLatin1String(c));
  return text;
}

QString InfluxUnit(const QString& unit) {
  if (unit == kUnitWatts) return QStringLiteral("W/m2");
  if (unit == kUnitBtu) return QStringLiteral("Btu/(ft2.h)");
  return QStringLiteral("none");
}

QString JsonText(const QString& text) {
  QString out;
  for (const QChar c : text) {
    if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
      out += QLatin1Char('\\') + c;
    } else if (c.unicode() < 0x20) {
      out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    } else {
      out += c;
    }
  }
  return QLatin1Char('"') + out + QLatin1Char('"');
}

}  // namespace

std::optional<Sample> SampleOfRecord(const RecordSeries& records, int i) {
  const std::optional<Instant> t = records.instant(i);
  const std::optional<qint64> number = RecordNumber(records.fields(i).number);
  if (!t) return std::nullopt;
  return Sample{QDateTime::fromSecsSinceEpoch(t->utc, QTimeZone(t->offset)),
                QString::fromUtf8(records.fields(i).reading).trimmed(),
                records.unit().trimmed(),
                number ? std::optional<long long>(*number) : std::nullopt,
                {}};
}

std::optional<QString> ReadingNumber(const QString& reading) {
  QString text = reading.trimmed();
  const bool negative = text.startsWith(QLatin1Char('-'));
  if (negative) text.remove(0, 1);
  QString whole = text.section(QLatin1Char('.'), 0, 0);
  QString fraction = text.section(QLatin1Char('.'), 1);
  const auto digitsOnly = [](const QString& s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= '0' && c <= '9'; });
  };
  if (text.count(QLatin1Char('.')) > 1 || (whole.isEmpty() && fraction.isEmpty()) ||
      !digitsOnly(whole) || !digitsOnly(fraction))
    return std::nullopt;
  // JSON allows no leading zeros and no bare point.
  while (whole.size() > 1 && whole.startsWith(QLatin1Char('0'))) whole.remove(0, 1);
  if (whole.isEmpty()) whole = QStringLiteral("0");
  QString number = fraction.isEmpty() ? whole : whole + QLatin1Char('.') + fraction;
  if (negative) number.prepend(QLatin1Char('-'));
  return number;
}

QString UnitSymbol(const QString& unit) {
  if (unit == kUnitWatts) return QStringLiteral("W/m²");
  if (unit == kUnitBtu) return QStringLiteral("Btu/(ft²·h)");
  return QString();
}

QByteArray SampleJson(const Sample& s) {
  const QString value = ReadingNumber(s.value).value_or(QStringLiteral("null"));
  const QString record = s.record ? QString::number(*s.record) : QStringLiteral("null");
  return QStringLiteral("{\"time\": %1, \"value\": %2, \"unit\": %3, \"record\": %4}")
      .arg(JsonText(IsoTimeText(s.time)), value, JsonText(UnitSymbol(s.unit)), record)
      .toUtf8();
}

std::optional<QByteArray> InfluxLine(const Sample& s, const QString& meter) {
  const auto value = ReadingNumber(s.value);
  if (!value) return std::nullopt;
  const qint64 ns = s.time.toMSecsSinceEpoch() * 1000000;
  return QStringLiteral("solar_irradiance,meter=%1,unit=%2 value=%3 %4")
      .arg(InfluxTag(meter), InfluxTag(InfluxUnit(s.unit)), *value, QString::number(ns))
      .toUtf8();
}

}  // namespace solardesk::station
