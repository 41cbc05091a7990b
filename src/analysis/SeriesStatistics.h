#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "ClearSky.h"
#include "EnergyUnit.h"
#include "ReadingSeries.h"

namespace solardesk {

struct TimedValue {
  double value = 0;
  Instant time;
};

// The figures of the samples of one local date; a segment between two samples counts for the
// date of its first sample.
struct DayFigures {
  qint64 day = 0;  // local date as a day number (SampleTime.h)
  qint64 count = 0;
  double min = 0;
  double max = 0;
  double mean = 0;
  double energy = 0;
  double peakSunHours = 0;
  qint64 gaps = 0;
  // With a site (AddClearSky): the clear-sky energy and index of the date, and how much of its
  // sun-up time the readings cover: seconds between consecutive samples that are no gap, within
  // the time the Sun stands above the horizon that date; `completeness` is their share, none
  // when the Sun never rises.
  std::optional<ClearSkyFigures> clearSky;
  double sunUpSeconds = 0;
  double coveredSeconds = 0;
  std::optional<double> completeness;
  // The UTC span of the date: from its local midnight to the next, with the UTC offsets of its
  // first and its last sample.
  qint64 beginUtc = 0;
  qint64 endUtc = 0;
};

// The figures of one calendar month, from the dates with readings in it.
struct MonthFigures {
  int year = 0;
  int month = 0;
  qint64 days = 0;  // dates with readings
  double energy = 0;
  double meanDailyPeakSunHours = 0;
  std::optional<double> clearSkyIndex;  // energy over clear-sky energy, with a site
  std::optional<double> completeness;   // covered over sun-up time of its dates, with a site
};

// What a series of readings amounts to: its extremes, mean, energy and holes, in all and day by
// day. Meaningful only when `count` is above 0.
struct SeriesStatistics {
  QString unit;  // the list's unit text, without blanks around it
  IrradianceUnit irradianceUnit = IrradianceUnit::WattsPerSquareMetre;
  qint64 count = 0;
  qint64 unreadable = 0;
  Instant first;
  Instant last;
  TimedValue min;  // the first sample with the lowest value
  TimedValue max;  // the first sample with the highest value
  double mean = 0;
  double energy = 0;  // in EnergyUnitText(irradianceUnit)
  double peakSunHours = 0;
  qint64 gaps = 0;
  qint64 gapSeconds = 0;
  std::vector<DayFigures> days;             // in date order
  std::optional<ClearSkyFigures> clearSky;  // when a site is given (AddClearSky)
  std::optional<double> completeness;       // covered over sun-up time of all dates, ditto

  // The peak sun hours of an average date with readings.
  double MeanDailyPeakSunHours() const;
};

SeriesStatistics ComputeStatistics(const ReadingSeries& series, const QString& unitText);

// Adds the clear-sky energy and index of the series at `site` to its statistics, in all and date
// by date, and the completeness of each date. The clear sky of `options` (ClearSkyRefusal must
// have none for them).
void AddClearSky(SeriesStatistics& s, const ReadingSeries& series, const Site& site,
                 const ClearSkyOptions& options = {});

// The monthly table: one row per calendar month with readings, in date order.
std::vector<MonthFigures> MonthlyFigures(const SeriesStatistics& s);

// The spans of time, as [begin, end) in UTC seconds, in which the Sun stands above the horizon
// at `site` between `begin` and `end`: from sunrise to sunset as the almanacs reckon them (the
// upper edge of the disc at the horizon, refraction included), found to about a second.
std::vector<std::pair<double, double>> SunUpSpans(const Site& site, qint64 begin, qint64 end);

}  // namespace solardesk
