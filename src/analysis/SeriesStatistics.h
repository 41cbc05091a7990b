#pragma once

#include <QString>
#include <vector>

#include <optional>

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
};

SeriesStatistics ComputeStatistics(const ReadingSeries& series, const QString& unitText);

// Adds the clear-sky energy and index of the series at `site` to its statistics.
void AddClearSky(SeriesStatistics& s, const ReadingSeries& series, const Site& site);

}  // namespace solardesk
