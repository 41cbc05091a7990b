#pragma once

#include <optional>
#include <span>

namespace solardesk {

// A record of the plotted series: its number (from 1) and its value.
struct RecordPoint {
  int record = 0;
  double value = 0;
};

// The record the file plot's cursor stands on for a position X: the nearest record number (a
// half goes up), kept within the series, with its value. The cursor reads the data rather than
// the empty plot between the points. Nothing for an empty series or an X that is not a number.
std::optional<RecordPoint> NearestRecord(std::span<const float> series, double x);

}  // namespace solardesk
