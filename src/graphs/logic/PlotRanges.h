#pragma once

#include <QPointF>
#include <QVector>

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

// Points of the file plot: value k (from 1) of the series at X = k.
struct PlotPoints {
  QVector<double> keys;
  QVector<double> values;
};

}  // namespace solardesk
