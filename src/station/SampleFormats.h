#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

#include "data/RecordSeries.h"

namespace solardesk::station {

// One sample as the station hands it on: the time it was taken, the reading text and unit as
// the meter's display shows them, and its record number in the day's data file (none when it
// is not in a file).
struct Sample {
  QDateTime time;
  QString value;  // ReadingText
  QString unit;   // ReadingUnit: "W/(M)2", "Btu/(ft)2.h" or empty
  std::optional<long long> record;
  QString file = {};  // the name of the day file it is in; empty when it is in none
};

// Record `i` of a day file read by the record reader, as the sample it was (unit from the
// file's header, without its record number when that cannot be read); nothing when its time
// cannot be read.
std::optional<Sample> SampleOfRecord(const RecordSeries& records, int i);

// The reading as a JSON number ("98.76", "0.5", "1234"), or nothing when the display shows no
// number. Never goes through the locale.
std::optional<QString> ReadingNumber(const QString& reading);

// The unit as people write it: "W/m²", "Btu/(ft²·h)"; empty for no unit.
QString UnitSymbol(const QString& unit);

// One JSON object on one line: {"time": "2026-12-06T10:00:01+01:00", "value": 98.76,
// "unit": "W/m²", "record": 17}; value is null when the display shows no number, record null
// when the sample is in no file. UTF-8.
QByteArray SampleJson(const Sample& s);

// One line of InfluxDB line protocol without its line end:
// "solar_irradiance,meter=virtual,unit=W/m2 value=742.5 1764930000000000000" (nanoseconds
// since 1970). Nothing when the display shows no number: a line needs a value.
std::optional<QByteArray> InfluxLine(const Sample& s, const QString& meter);

}  // namespace solardesk::station
