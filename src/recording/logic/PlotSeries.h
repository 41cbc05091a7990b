#pragma once

#include <vector>

#include "LongLoop.h"

namespace solardesk {

class RecordSeries;

// The values of a file list's records as single precision numbers, in list order, with the
// caption counting "50% Completed". A record whose reading is no number has NaN, where the plot
// leaves a break; values beyond single precision are kept at its largest magnitude.
std::vector<float> BuildPlotSeries(const RecordSeries& records, ProgressPacer& pacer);

}  // namespace solardesk
