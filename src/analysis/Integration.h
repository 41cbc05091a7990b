#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

namespace solardesk {

// The integral over time of a sampled quantity (irradiance, or a modelled series beside it), by
// the trapezoid rule between consecutive samples. Times are instants in seconds; the integral
// comes in value times hours (W/m2 over hours gives Wh/m2). A spacing longer than the gap limit
// is a hole in the record: it is not integrated but counted, with its length. A spacing that
// steps back in time is not integrated either and counts as a gap without seconds.

struct Integral {
  double valueHours = 0;
  qint64 gaps = 0;
  qint64 gapSeconds = 0;
};

// Three times the median spacing of consecutive instants (the mean of the two middle ones for
// an even count); 0 for fewer than two instants.
double GapLimit(std::span<const qint64> instants);

// The segments from sample i to sample i + 1 for i from `begin` up to, not including, `end`
// (cut to the last sample).
Integral Integrate(std::span<const qint64> instants, std::span<const double> values,
                   double gapLimit, std::size_t begin, std::size_t end);

// The whole series, with the gap limit of its own instants.
Integral Integrate(std::span<const qint64> instants, std::span<const double> values);

// The running integral: element i is the integral from sample 0 to sample i (element 0 is 0),
// so that of any run of samples is the difference of two elements.
std::vector<double> RunningIntegral(std::span<const qint64> instants,
                                    std::span<const double> values, double gapLimit);

}  // namespace solardesk
