#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

#include "SeriesStatistics.h"

namespace solardesk {

// The ways the statistics of a series are handed to a person or a program. Numbers are written
// the same under every locale: a point before the decimals, no grouping.

// One JSON object: unit, count, unreadable, first, last, min {value, time}, max {value, time},
// mean, energy {value, unit}, peak_sun_hours, gaps {count, seconds}, clear_sky {energy, index}
// when a site was given (index null without clear-sky energy), days [{date, count, min, max,
// mean, energy, peak_sun_hours}]; times in ISO 8601 with their UTC offset.
QByteArray StatisticsJson(const SeriesStatistics& s);

// The figures as label and text, in reading order ("Energy", "5123.40 Wh/m2"); "Clear-sky
// energy" and "Clear-sky index" last when a site was given.
std::vector<std::pair<QString, QString>> SummaryRows(const SeriesStatistics& s);

// The headings and the rows of the daily table, as the window and the readable summary show it.
QStringList DailyHeadings(const SeriesStatistics& s);
std::vector<QStringList> DailyRows(const SeriesStatistics& s);

// The figures, then the daily table, as aligned text lines for a terminal.
QString StatisticsText(const SeriesStatistics& s);

// The figures and the daily table as tab-separated lines, for the clipboard.
QString StatisticsTabText(const SeriesStatistics& s);

// The daily table as CSV (RFC 4180, CR LF line ends), with a heading row.
QByteArray DailyTableCsv(const SeriesStatistics& s);

// A number as it is written in every report: at most `decimals` decimals, trailing zeros of the
// decimals dropped ("12.5", "1000", "-0.25").
QString RoundedText(double v, int decimals);

}  // namespace solardesk
