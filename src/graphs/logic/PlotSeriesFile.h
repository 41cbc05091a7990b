#pragma once

#include <QString>
#include <optional>

#include "Overlay.h"

namespace solardesk {

class Instrument;
class RecordSeries;

// The legend name of a series: its source and the date and time of its first record
// ("day1.pvd  2026/03/29 08:00:00"); the source alone when no record has a time.
QString SeriesName(const QString& source, const PlotSeriesData& series);

// Records as a plot series in `unit`: their values as the file list's "Plot" takes them (NaN
// where the reading is no number) and their times.
PlotSeriesData PlotSeriesOfRecords(const RecordSeries& records, const QString& name,
                                   const QString& unit);

// A data file as a plot series, read as "Open" reads it (timers paused meanwhile) and valued
// as the file list's "Plot" values it: its values, the times of its records, its unit and a
// name from its file name and start. Nothing when the file cannot be read or holds no record.
std::optional<PlotSeriesData> ReadPlotSeriesFile(const QString& path, Instrument& instrument);

}  // namespace solardesk
