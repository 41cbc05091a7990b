#pragma once

#include <QtGlobal>
#include <vector>

#include "data/LocalTimeline.h"

namespace solardesk {

class RecordSeries;

// The readable records of a series, in series order: when each was taken and what it read.
struct ReadingSeries {
  std::vector<qint64> instants;  // UTC seconds
  std::vector<int> offsets;      // UTC offset of each instant's wall clock
  std::vector<double> values;
  std::vector<int> entries;  // the record each sample comes from, counted from 0
  // Records left out: the reading is no number, or the time cannot be read or was skipped by
  // the clock.
  qint64 unreadable = 0;

  std::size_t size() const { return values.size(); }
  Instant instant(std::size_t i) const { return {instants[i], offsets[i]}; }
};

// The readable records of `records`, as they were read.
ReadingSeries ReadSeries(const RecordSeries& records);

}  // namespace solardesk
