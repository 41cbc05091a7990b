#include "StatisticsReport.h"

#include <cmath>

#include "RecordsCsv.h"
#include "core/Calendar.h"
#include "core/IsoTime.h"

namespace solardesk {
namespace {

// JSON is read by programs: more decimals, still without the noise of binary fractions.
constexpr int kJsonDecimals = 6;

QString MonthText(const MonthFigures& m) {
  return QStringLiteral("%1-%2")
      .arg(m.year, 4, 10, QLatin1Char('0'))
      .arg(m.month, 2, 10, QLatin1Char('0'));
}

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

QByteArray JsonOptional(const std::optional<double>& v) {
  return v ? JsonNumber(*v) : QByteArray("null");
}

QByteArray JsonTimedValue(const TimedValue& t) {
  return "{\"value\": " + JsonNumber(t.value) + ", \"time\": " + JsonString(Iso(t.time)) + "}";
}

QByteArray JsonClearSky(const SeriesStatistics& s) {
  if (!s.clearSky) return {};
  const ClearSkyFigures& c = *s.clearSky;
  return ", \"clear_sky\": {\"energy\": " + JsonNumber(c.energy) +
         ", \"index\": " + JsonOptional(c.index) + "}";
}

QByteArray JsonSite(const SiteAssumptions& assumed) {
  QByteArray out = "{";
  for (const SiteEchoValue& v : SiteEcho(assumed)) {
    if (out.size() > 1) out += ", ";
    out += QByteArray("\"") + v.key + "\": ";
    out += !v.text.isEmpty() ? JsonString(v.text) : JsonOptional(v.number);
  }
  return out + "}";
}

QByteArray JsonMonths(const SeriesStatistics& s) {
  QByteArray months;
  for (const MonthFigures& m : MonthlyFigures(s)) {
    if (!months.isEmpty()) months += ", ";
    months += "{\"month\": " + JsonString(MonthText(m)) +
              ", \"days\": " + QByteArray::number(m.days) +
              ", \"energy\": " + JsonNumber(m.energy) +
              ", \"mean_daily_peak_sun_hours\": " + JsonNumber(m.meanDailyPeakSunHours) +
              ", \"clear_sky_index\": " + JsonOptional(m.clearSkyIndex) +
              ", \"completeness\": " + JsonOptional(m.completeness) + "}";
  }
  return months;
}

// Columns as wide as their widest cell; the first left, the others right.
QString AlignedTable(std::vector<QStringList> table) {
  std::vector<qsizetype> widths(static_cast<std::size_t>(table.front().size()), 0);
  for (const QStringList& row : table)
    for (qsizetype c = 0; c < row.size(); ++c)
      widths[static_cast<std::size_t>(c)] =
          std::max(widths[static_cast<std::size_t>(c)], row[c].size());
  QString text;
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

// Label and value lines, the values in one column.
QString LabelledLines(const std::vector<std::pair<QString, QString>>& rows) {
  qsizetype labelWidth = 0;
  for (const auto& [label, value] : rows) labelWidth = std::max(labelWidth, label.size() + 1);
  QString text;
  for (const auto& [label, value] : rows)
    text += (label + QLatin1Char(':')).leftJustified(labelWidth + 1) + value + QLatin1Char('\n');
  return text;
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

QString OptionalText(const std::optional<double>& v) {
  return v ? FixedText(*v, kIndexDecimals) : QStringLiteral("-");
}

QStringList ClearSkyHeadings(const SeriesStatistics& s) {
  if (!s.clearSky) return {};
  return {QStringLiteral("Clear-sky energy (%1)").arg(EnergyUnitText(s.irradianceUnit)),
          QStringLiteral("Clear-sky index"), QStringLiteral("Completeness")};
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

QByteArray StatisticsJson(const SeriesStatistics& s, const SiteAssumptions& assumed) {
  QByteArray days;
  for (const DayFigures& d : s.days) {
    if (!days.isEmpty()) days += ", ";
    days += "{\"date\": " + JsonString(DateText(d.day)) +
            ", \"count\": " + QByteArray::number(d.count) + ", \"min\": " + JsonNumber(d.min) +
            ", \"max\": " + JsonNumber(d.max) + ", \"mean\": " + JsonNumber(d.mean) +
            ", \"energy\": " + JsonNumber(d.energy) +
            ", \"peak_sun_hours\": " + JsonNumber(d.peakSunHours) +
            ", \"gaps\": " + QByteArray::number(d.gaps) + ", \"clear_sky_energy\": " +
            (d.clearSky ? JsonNumber(d.clearSky->energy) : QByteArray("null")) +
            ", \"clear_sky_index\": " + (d.clearSky ? JsonOptional(d.clearSky->index) : "null") +
            ", \"completeness\": " + JsonOptional(d.completeness) + "}";
  }
  return "{\"unit\": " + JsonString(s.unit) + ", \"count\": " + QByteArray::number(s.count) +
         ", \"unreadable\": " + QByteArray::number(s.unreadable) +
         ", \"first\": " + JsonString(Iso(s.first)) + ", \"last\": " + JsonString(Iso(s.last)) +
         ", \"min\": " + JsonTimedValue(s.min) + ", \"max\": " + JsonTimedValue(s.max) +
         ", \"mean\": " + JsonNumber(s.mean) + ", \"energy\": {\"value\": " + JsonNumber(s.energy) +
         ", \"unit\": " + JsonString(EnergyUnitText(s.irradianceUnit)) +
         "}, \"peak_sun_hours\": " + JsonNumber(s.peakSunHours) +
         ", \"mean_daily_peak_sun_hours\": " + JsonNumber(s.MeanDailyPeakSunHours()) +
         ", \"gaps\": {\"count\": " + QByteArray::number(s.gaps) +
         ", \"seconds\": " + QByteArray::number(s.gapSeconds) +
         "}, \"completeness\": " + JsonOptional(s.completeness) + JsonClearSky(s) +
         ", \"site\": " + JsonSite(assumed) + ", \"time_zone\": " +
         (assumed.timeZone.isEmpty() ? QByteArray("null") : JsonString(assumed.timeZone)) +
         ", \"days\": [" + days + "], \"months\": [" + JsonMonths(s) + "]}\n";
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
      {QStringLiteral("Mean daily peak sun hours"),
       FixedText(s.MeanDailyPeakSunHours(), kSunHoursDecimals)},
      {QStringLiteral("Gaps"), QStringLiteral("%1 (%2 s)").arg(s.gaps).arg(s.gapSeconds)},
  };
  if (s.clearSky) {
    rows.emplace_back(QStringLiteral("Completeness"),
                      s.completeness ? PercentText(*s.completeness)
                                     : QStringLiteral("none (the Sun does not rise)"));
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
  return QStringList{QStringLiteral("Date"),
                     QStringLiteral("Readings"),
                     QStringLiteral("Min"),
                     QStringLiteral("Max"),
                     QStringLiteral("Mean"),
                     QStringLiteral("Energy (%1)").arg(EnergyUnitText(s.irradianceUnit)),
                     QStringLiteral("Peak sun hours"),
                     QStringLiteral("Gaps")} +
         ClearSkyHeadings(s);
}

std::vector<QStringList> DailyRows(const SeriesStatistics& s) {
  std::vector<QStringList> rows;
  rows.reserve(s.days.size());
  for (const DayFigures& d : s.days) {
    QStringList row{DateText(d.day),
                    QString::number(d.count),
                    ReadingText(d.min),
                    ReadingText(d.max),
                    FixedText(d.mean, kMeanDecimals),
                    FixedText(d.energy, kEnergyDecimals),
                    FixedText(d.peakSunHours, kSunHoursDecimals),
                    QString::number(d.gaps)};
    if (s.clearSky) {
      row << (d.clearSky ? FixedText(d.clearSky->energy, kEnergyDecimals) : QString())
          << OptionalText(d.clearSky ? d.clearSky->index : std::nullopt)
          << (d.completeness ? PercentText(*d.completeness) : QStringLiteral("-"));
    }
    rows.push_back(row);
  }
  return rows;
}

QStringList MonthlyHeadings(const SeriesStatistics& s) {
  QStringList headings{QStringLiteral("Month"), QStringLiteral("Days"),
                       QStringLiteral("Energy (%1)").arg(EnergyUnitText(s.irradianceUnit)),
                       QStringLiteral("Mean daily peak sun hours")};
  if (s.clearSky) headings << QStringLiteral("Clear-sky index") << QStringLiteral("Completeness");
  return headings;
}

std::vector<QStringList> MonthlyRows(const SeriesStatistics& s) {
  std::vector<QStringList> rows;
  for (const MonthFigures& m : MonthlyFigures(s)) {
    QStringList row{MonthText(m), QString::number(m.days), FixedText(m.energy, kEnergyDecimals),
                    FixedText(m.meanDailyPeakSunHours, kSunHoursDecimals)};
    if (s.clearSky)
      row << OptionalText(m.clearSkyIndex)
          << (m.completeness ? PercentText(*m.completeness) : QStringLiteral("-"));
    rows.push_back(row);
  }
  return rows;
}

QString PercentText(double share) {
  return FixedText(share * 100, 1) + QStringLiteral(" %");
}

std::vector<SiteEchoValue> SiteEcho(const SiteAssumptions& assumed) {
  const std::optional<Site>& site = assumed.site;
  const bool ineichen = site && assumed.clearSky.model == ClearSkyModel::Ineichen;
  const auto number = [&](bool known, double v) {
    return site && known ? std::optional<double>(v) : std::nullopt;
  };
  const bool tilted = site && site->tilt != 0;
  const Site place = site.value_or(Site{});
  return {
      {"latitude", QStringLiteral("Latitude"), number(true, place.latitude), {}},
      {"longitude", QStringLiteral("Longitude"), number(true, place.longitude), {}},
      {"elevation", QStringLiteral("Elevation"), number(true, place.elevation), {}},
      {"tilt", QStringLiteral("Tilt"), number(true, place.tilt), {}},
      {"azimuth", QStringLiteral("Azimuth"), number(tilted, place.azimuth), {}},
      {"albedo", QStringLiteral("Albedo"), number(tilted, place.albedo), {}},
      {"model",
       QStringLiteral("Clear-sky model"),
       {},
       site ? ClearSkyModelName(assumed.clearSky.model) : QString()},
      {"linke_turbidity",
       QStringLiteral("Linke turbidity"),
       number(ineichen, assumed.clearSky.linkeTurbidity),
       {}},
      {"transposition",
       QStringLiteral("Transposition"),
       {},
       ineichen ? SkyDiffuseModelName(assumed.clearSky.transposition) : QString()},
  };
}

std::vector<std::pair<QString, QString>> AssumptionRows(const SiteAssumptions& assumed) {
  std::vector<std::pair<QString, QString>> rows;
  if (!assumed.site) {
    rows.emplace_back(QStringLiteral("Site"), QStringLiteral("none given"));
  } else {
    const Site& site = *assumed.site;
    QString where = QStringLiteral("%1, %2, elevation %3 m")
                        .arg(RoundedText(site.latitude, kReadingDecimals),
                             RoundedText(site.longitude, kReadingDecimals),
                             RoundedText(site.elevation, kMeanDecimals));
    rows.emplace_back(QStringLiteral("Site"), where);
    QString sensor = QStringLiteral("tilt %1 degrees").arg(RoundedText(site.tilt, 2));
    if (site.tilt != 0)
      sensor += QStringLiteral(", azimuth %1 degrees, albedo %2")
                    .arg(RoundedText(site.azimuth, 2), RoundedText(site.albedo, 3));
    rows.emplace_back(QStringLiteral("Sensor"), sensor);
    QString model = ClearSkyModelName(assumed.clearSky.model);
    if (assumed.clearSky.model == ClearSkyModel::Ineichen)
      model += QStringLiteral(", Linke turbidity %1, transposition %2")
                   .arg(RoundedText(assumed.clearSky.linkeTurbidity, 2),
                        SkyDiffuseModelName(assumed.clearSky.transposition));
    rows.emplace_back(QStringLiteral("Clear sky"), model);
  }
  if (!assumed.timeZone.isEmpty()) rows.emplace_back(QStringLiteral("Time zone"), assumed.timeZone);
  return rows;
}

std::vector<std::pair<QString, QString>> AssumedAndSummaryRows(const SeriesStatistics& s,
                                                               const SiteAssumptions& assumed) {
  std::vector<std::pair<QString, QString>> rows = AssumptionRows(assumed);
  const auto figures = SummaryRows(s);
  rows.insert(rows.end(), figures.begin(), figures.end());
  return rows;
}

QString StatisticsText(const SeriesStatistics& s, const SiteAssumptions& assumed) {
  QString text = LabelledLines(AssumedAndSummaryRows(s, assumed));

  std::vector<QStringList> daily = DailyRows(s);
  daily.insert(daily.begin(), DailyHeadings(s));
  text += QLatin1Char('\n') + AlignedTable(std::move(daily));
  std::vector<QStringList> monthly = MonthlyRows(s);
  monthly.insert(monthly.begin(), MonthlyHeadings(s));
  text += QLatin1Char('\n') + AlignedTable(std::move(monthly));
  return text;
}

QString StatisticsTabText(const SeriesStatistics& s) {
  QString text;
  for (const auto& [label, value] : SummaryRows(s))
    text += label + QLatin1Char('\t') + value + '\n';
  const auto table = [&text](const QStringList& headings, const std::vector<QStringList>& rows) {
    text += QLatin1Char('\n') + headings.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const QStringList& row : rows) text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
  };
  table(DailyHeadings(s), DailyRows(s));
  table(MonthlyHeadings(s), MonthlyRows(s));
  return text;
}

QByteArray DailyTableCsv(const SeriesStatistics& s) {
  QByteArray csv;
  AppendCsvRecord(csv, DailyHeadings(s));
  for (const QStringList& row : DailyRows(s)) AppendCsvRecord(csv, row);
  return csv;
}

}  // namespace solardesk
