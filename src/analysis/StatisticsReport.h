#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

#include "SeriesStatistics.h"

namespace solardesk {

// The ways the statistics of a series are handed to a person or a program. Numbers are written
// the same under every locale: a point before the decimals, no grouping.

// Decimals of each kind of figure in every report: readings as the meter shows them (up to 6
// kept), means and energies to the hundredth, peak sun hours and clear-sky indexes to the
// thousandth.
inline constexpr int kReadingDecimals = 6;
inline constexpr int kMeanDecimals = 2;
inline constexpr int kEnergyDecimals = 2;
inline constexpr int kSunHoursDecimals = 3;
inline constexpr int kIndexDecimals = 3;

// What the figures took as given: the site with the sensor's orientation and the clear sky (none
// without a site), and the time zone the file's wall-clock times were read in (an IANA name).
struct SiteAssumptions {
  std::optional<Site> site;
  ClearSkyOptions clearSky;
  QString timeZone;
};

// One JSON object: unit, count, unreadable, first, last, min {value, time}, max {value, time},
// mean, energy {value, unit}, peak_sun_hours, mean_daily_peak_sun_hours, gaps {count, seconds},
// completeness, clear_sky {energy, index} when a site was given (index null without clear-sky
// energy), site {latitude, longitude, elevation, tilt, azimuth, albedo, model, linke_turbidity,
// transposition} and time_zone (SiteEcho), days [{date, count, min, max, mean, energy,
// peak_sun_hours, gaps, clear_sky_energy, clear_sky_index, completeness}], months [{month,
// days, energy, mean_daily_peak_sun_hours, clear_sky_index, completeness}]; times in ISO 8601
// with their UTC offset. A figure that is not known, or not a finite number, is null.
QByteArray StatisticsJson(const SeriesStatistics& s, const SiteAssumptions& assumed = {});

// What the figures assumed, quantity by quantity, as written in reports (null: not known):
// latitude and longitude as given; elevation (0 when not given) and tilt (0, lying flat) for
// every site; the azimuth and albedo when the sensor is tilted (a sensor lying flat faces no
// direction and sees no ground); the model always, the Linke turbidity and the transposition
// under Ineichen. All null without a site.
struct SiteEchoValue {
  const char* key;
  QString label;
  std::optional<double> number;
  QString text;  // for the model and the transposition
};
std::vector<SiteEchoValue> SiteEcho(const SiteAssumptions& assumed);

// The figures as label and text, in reading order ("Energy", "5123.40 Wh/m2"); with a site,
// "Completeness", then "Clear-sky energy" and "Clear-sky index" last.
std::vector<std::pair<QString, QString>> SummaryRows(const SeriesStatistics& s);

// The site and time zone as label and text ("Site", "39.742476, -105.1786, 1830.14 m").
std::vector<std::pair<QString, QString>> AssumptionRows(const SiteAssumptions& assumed);

// What was assumed, then the figures: the labelled lines the readable summary begins with.
std::vector<std::pair<QString, QString>> AssumedAndSummaryRows(const SeriesStatistics& s,
                                                               const SiteAssumptions& assumed);

// The headings and the rows of the daily table, as the window and the readable summary show it;
// with a site, the clear-sky energy, the clear-sky index and the completeness of each date too.
QStringList DailyHeadings(const SeriesStatistics& s);
std::vector<QStringList> DailyRows(const SeriesStatistics& s);

// The monthly table (MonthlyFigures), likewise.
QStringList MonthlyHeadings(const SeriesStatistics& s);
std::vector<QStringList> MonthlyRows(const SeriesStatistics& s);

// A share (completeness) as a percentage to the tenth: "97.5 %".
QString PercentText(double share);

// What the figures assumed, then the figures, the daily and the monthly table, as aligned text
// lines for a terminal.
QString StatisticsText(const SeriesStatistics& s, const SiteAssumptions& assumed = {});

// The figures, the daily and the monthly table as tab-separated lines, each table after an empty
// line, for the clipboard.
QString StatisticsTabText(const SeriesStatistics& s);

// The daily table as CSV (RFC 4180, CR LF line ends), with a heading row.
QByteArray DailyTableCsv(const SeriesStatistics& s);

// A number as it is written in every report: at most `decimals` decimals, trailing zeros of the
// decimals dropped ("12.5", "1000", "-0.25").
QString RoundedText(double v, int decimals);

}  // namespace solardesk
