#pragma once

#include <QByteArrayView>
#include <vector>

#include "LineStore.h"
#include "LongLoop.h"

namespace solardesk {

// The number at the start of `text`: leading spaces skipped, then a sign, figures, a decimal
// point and an exponent as far as they go; 0 when the text does not start with a number.
double LeadingNumber(QByteArrayView text);

// The values of a file list's entries (what follows each entry's second tab) as single
// precision numbers, in list order, with the caption counting "50% Completed".
std::vector<float> BuildPlotSeries(const LineStore& entries, ProgressPacer& pacer);

}  // namespace solardesk
