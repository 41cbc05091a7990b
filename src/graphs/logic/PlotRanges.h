#pragma once

#include <QPointF>
#include <QVector>
#include <optional>
#include <span>

namespace solardesk {

struct AxisRange {
  double min = 0;
  double max = 0;
};

// The ranges of both axes of the file plot: X (record numbers) and Y (values).
struct PlotRanges {
  AxisRange x;
  AxisRange y;
};

// The ranges after a series of n values is loaded or the scale is reset: X from 1 to n, Y from
// 0 to 10000. An empty series gives X from 1 to 1.
PlotRanges DefaultRanges(int pointCount);

// The range an axis shows for a range typed or set: the ends in ascending order, and a range
// that is a single value widened by half a unit on each side so that the value stays in view
// (the graph cannot show an axis of zero length).
AxisRange ShownRange(AxisRange range);

// The middle of the visible area, where cursor 1 goes when the cursor mode is chosen.
QPointF MiddleOf(const PlotRanges& visible);

// "Fit": both axes around the data of a series (value k, from 1, at X = k): X from the first
// to the last record, Y from the lowest to the highest value, each widened on both sides by a
// twentieth of its span (or, for a single value, by a twentieth of that value and at least half
// a unit) so that no point lies on the frame. Values that are not finite are left out; nothing
// for a series without a finite value.
std::optional<PlotRanges> FitRanges(std::span<const float> series);
// The lowest to the highest of a range, widened as "Fit" widens it.
AxisRange Widened(double lowest, double highest);

// Whether the records are drawn as marks as well as joined by the line: when each record of the
// visible X range has room of its own (8 pixels of the plot's width), so that a single record,
// or a few seen close up, stays visible where a line alone would show nothing.
bool RecordsMarked(AxisRange visibleX, int plotWidthPixels);

// Points of the file plot: value k (from 1) of the series at X = k.
struct PlotPoints {
  QVector<double> keys;
  QVector<double> values;
};

}  // namespace solardesk
