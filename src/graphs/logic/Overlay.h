#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace solardesk {

class RecordSeries;

// The most series one plot lays over one another.
inline constexpr int kMostSeries = 8;

// A series of the file plot: one value per record in file order and, where its date and time
// can be read, when it was taken.
struct PlotSeriesData {
  QString name;               // the legend entry: what the series is and when it starts
  QString unit;               // "W/(M)2" or "Btu/(ft)2.h", without blanks around it
  std::vector<float> values;  // record k (from 1) at index k - 1
  // UTC seconds and the wall clock's UTC offset of each record; NaN where the time cannot be
  // read. Empty when the times are not known at all.
  std::vector<double> utc;
  std::vector<int> offsets;

  int size() const { return static_cast<int>(values.size()); }
  bool timed(std::size_t i) const { return i < utc.size() && utc[i] == utc[i]; }
};

// Fills `series.utc` and `series.offsets` with the instants of the records, one per record.
void ReadRecordTimes(const RecordSeries& records, PlotSeriesData& series);

// How several series lie over one another.
enum class OverlayMode {
  ByRecord,     // X = record number, from 1
  ByTime,       // X = the moment each record was taken (UTC seconds)
  ByTimeOfDay,  // X = the wall-clock time, each series moved by whole days onto one date
};

// The X and Y of what a series draws in a mode. Records without a time are left out of the
// time modes, and their points are put in the order of X (a clock set back during a
// recording draws no line backwards).
struct OverlayPoints {
  std::vector<double> keys;
  std::vector<float> values;
};

// The day (local day number) of the first record with a time; nothing when none has one.
std::optional<qint64> FirstDay(const PlotSeriesData& series);

// How far the time-of-day mode moves a series (whole days, in seconds) to lay it onto
// `referenceDay`; 0 in the other modes.
double DayShift(const PlotSeriesData& series, OverlayMode mode, qint64 referenceDay);
// The X of record i (from 0) in a mode, `dayShift` from DayShift; record i must have a time in the
// time modes.
double OverlayKey(const PlotSeriesData& series, std::size_t i, OverlayMode mode, double dayShift);

// `referenceDay`: the date the time-of-day mode lays every series onto (wall-clock seconds of
// that day); unused in the other modes.
OverlayPoints OverlayOf(const PlotSeriesData& series, OverlayMode mode, qint64 referenceDay);

// Why a series cannot join a plot in `plotUnit`: a message naming both units; nothing when the
// units agree.
std::optional<QString> UnitRefusal(const QString& plotUnit, const QString& seriesUnit);

// The message when a plot already holds kMostSeries series.
QString TooManySeriesText();

}  // namespace solardesk
