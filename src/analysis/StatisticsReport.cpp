#include "StatisticsReport.h"

#include <cmath>

#include "RecordsCsv.h"
#include "core/Calendar.h"
#include "core/IsoTime.h"

namespace solardesk {
namespace {

// Decimals of each kind of figure: readings as the meter shows them (up to 6 kept), means and
// energies to the hundredth, peak sun hours to the thousandth.
constexpr int kReadingDecimals = 6;
constexpr int kMeanDecimals = 2;
constexpr int kEnergyDecimals = 2;
constexpr int kSunHoursDecimals = 3;
constexpr int kIndexDecimals = 3;
// JSON is read by programs: more decimals, still without the noise of binary fractions.
constexpr int kJsonDecimals = 6;

QString Iso(const Instant& t) {
  return IsoTimeText(t.local(), t.offset);
}

QByteArray JsonString(const QString& text) {
  QByteArray out = "\"";
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == '"' || u == '\\') {
      out += '\\';
      out += static_cast<char>(u);
    } else if (u < 0x20 || u > 0x7E) {
      out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
    } else {
      out += static_cast<char>(u);
    }
  }
  return out + '"';
}

// JSON has no infinity: a figure beyond the range of a double (the energy of readings near the
// largest double) is written as null, so that the object stays JSON and no program takes the
// figure for a number.
QByteArray JsonNumber(double v) {
  if (!std::isfinite(v)) return "null";
  return RoundedText(v, kJsonDecimals).toLatin1();
}

QByteArray JsonTimedValue(const TimedValue& t) {
  return "{\"value\": " + JsonNumber(t.value) + ", \"time\": " + JsonString(Iso(t.time)) + "}";
}

QByteArray JsonClearSky(const SeriesStatistics& s) {
  if (!s.clearSky) return {};
  const ClearSkyFigures& c = *s.clearSky;
  return ", \"clear_sky\": {\"energy\": " + JsonNumber(c.energy) +
         ", \"index\": " + (c.index ? JsonNumber(*c.index) : QByteArray("null")) + "}";
}

QString ReadingText(double v) {
  return RoundedText(v, kReadingDecimals);
}

// A fixed number of decimals; a value that rounds to zero has no minus sign.
QString FixedText(double v, int decimals) {
  QString text = QString::number(v, 'f', decimals);
  if (text.startsWith(QLatin1Char('-')) &&
      text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) == text.size() - 1)
    text.remove(0, 1);
  return text;
}

}  // namespace

QString RoundedText(double v, int decimals) {
  QString text = QString::number(v, 'f', decimals);
  if (text.contains(QLatin1Char('.'))) {
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
  }
  return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QByteArray StatisticsJson(const SeriesStatistics& s) {
  QByteArray days;
  for (const DayFigures& d : s.days) {
    if (!days.isEmpty()) days += ", ";
    days += "{\"date\": " + JsonString(DateText(d.day)) +
            ", \"count\": " + QByteArray::number(d.count) + ", \"min\": " + JsonNumber(d.min) +
            ", \"max\": " + JsonNumber(d.max) + ", \"mean\": " + JsonNumber(d.mean) +
            ", \"energy\": " + JsonNumber(d.energy) +
            ", \"peak_sun_hours\": " + JsonNumber(d.peakSunHours) + "}";
  }
  return "{\"unit\": " + JsonString(s.unit) + ", \"count\": " + QByteArray::number(s.count) +
         ", \"unreadable\": " + QByteArray::number(s.unreadable) +
         ", \"first\": " + JsonString(Iso(s.first)) + ", \"last\": " + JsonString(Iso(s.last)) +
         ", \"min\": " + JsonTimedValue(s.min) + ", \"max\": " + JsonTimedValue(s.max) +
         ", \"mean\": " + JsonNumber(s.mean) + ", \"energy\": {\"value\": " + JsonNumber(s.energy) +
         ", \"unit\": " + JsonString(EnergyUnitText(s.irradianceUnit)) +
         "}, \"peak_sun_hours\": " + JsonNumber(s.peakSunHours) +
         ", \"gaps\": {\"count\": " + QByteArray::number(s.gaps) +
         ", \"seconds\": " + QByteArray::number(s.gapSeconds) + "}" + JsonClearSky(s) +
         ", \"days\": [" + days + "]}\n";
}

std::vector<std::pair<QString, QString>> SummaryRows(const SeriesStatistics& s) {
  const QString energyUnit = EnergyUnitText(s.irradianceUnit);
  std::vector<std::pair<QString, QString>> rows{
      {QStringLiteral("Unit"), s.unit},
      {QStringLiteral("Readings"), QString::number(s.count)},
      {QStringLiteral("Unreadable"), QString::number(s.unreadable)},
      {QStringLiteral("First"), Iso(s.first)},
      {QStringLiteral("Last"), Iso(s.last)},
      {QStringLiteral("Minimum"),
       QStringLiteral("%1 at %2").arg(ReadingText(s.min.value), Iso(s.min.time))},
      {QStringLiteral("Maximum"),
       QStringLiteral("%1 at %2").arg(ReadingText(s.max.value), Iso(s.max.time))},
      {QStringLiteral("Mean"), FixedText(s.mean, kMeanDecimals)},
      {QStringLiteral("Energy"),
       FixedText(s.energy, kEnergyDecimals) + QLatin1Char(' ') + energyUnit},
      {QStringLiteral("Peak sun hours"), FixedText(s.peakSunHours, kSunHoursDecimals)},
      {QStringLiteral("Gaps"), QStringLiteral("%1 (%2 s)").arg(s.gaps).arg(s.gapSeconds)},
  };
  if (s.clearSky) {
    rows.emplace_back(
        QStringLiteral("Clear-sky energy"),
        FixedText(s.clearSky->energy, kEnergyDecimals) + QLatin1Char(' ') + energyUnit);
    rows.emplace_back(QStringLiteral("Clear-sky index"),
                      s.clearSky->index ? FixedText(*s.clearSky->index, kIndexDecimals)
                                        : QStringLiteral("none (no clear-sky energy)"));
  }
  return rows;
}

QStringList DailyHeadings(const SeriesStatistics& s) {
  return {QStringLiteral("Date"),
          QStringLiteral("Readings"),
          QStringLiteral("Min"),
          QStringLiteral("Max"),
          QStringLiteral("Mean"),
          QStringLiteral("Energy (%1)").arg(EnergyUnitText(s.irradianceUnit)),
          QStringLiteral("Peak sun hours"),
          QStringLiteral("Gaps")};
}

std::vector<QStringList> DailyRows(const SeriesStatistics& s) {
  std::vector<QStringList> rows;
  rows.reserve(s.days.size());
  for (const DayFigures& d : s.days) {
    rows.push_back({DateText(d.day), QString::number(d.count), ReadingText(d.min),
                    ReadingText(d.max), FixedText(d.mean, kMeanDecimals),
                    FixedText(d.energy, kEnergyDecimals),
                    FixedText(d.peakSunHours, kSunHoursDecimals), QString::number(d.gaps)});
  }
  return rows;
}

QString StatisticsText(const SeriesStatistics& s) {
  QString text;
  qsizetype labelWidth = 0;
  const auto rows = SummaryRows(s);
  for (const auto& [label, value] : rows) labelWidth = std::max(labelWidth, label.size() + 1);
  for (const auto& [label, value] : rows)
    text += (label + QLatin1Char(':')).leftJustified(labelWidth + 1) + value + QLatin1Char('\n');

  // The daily table in columns as wide as their widest cell; the date left, figures right.
  std::vector<QStringList> table = DailyRows(s);
  table.insert(table.begin(), DailyHeadings(s));
  std::vector<qsizetype> widths(static_cast<std::size_t>(table.front().size()), 0);
  for (const QStringList& row : table)
    for (qsizetype c = 0; c < row.size(); ++c)
      widths[static_cast<std::size_t>(c)] =
          std::max(widths[static_cast<std::size_t>(c)], row[c].size());
  text += QLatin1Char('\n');
  for (const QStringList& row : table) {
    QString line;
    for (qsizetype c = 0; c < row.size(); ++c) {
      const auto width = widths[static_cast<std::size_t>(c)];
      line += c == 0 ? row[c].leftJustified(width)
                     : QStringLiteral("  ") + row[c].rightJustified(width);
    }
    text += line + QLatin1Char('\n');
  }
  return text;
}

QString StatisticsTabText(const SeriesStatistics& s) {
  QString text;
  for (const auto& [label, value] : SummaryRows(s))
    text += label + QLatin1Char('\t') + value + '\n';
  text += QLatin1Char('\n') + DailyHeadings(s).join(QLatin1Char('\t')) + QLatin1Char('\n');
  for (const QStringList& row : DailyRows(s))
    text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
  return text;
}

QByteArray DailyTableCsv(const SeriesStatistics& s) {
  QByteArray csv;
  AppendCsvRecord(csv, DailyHeadings(s));
  for (const QStringList& row : DailyRows(s)) AppendCsvRecord(csv, row);
  return csv;
}

}  // namespace solardesk
