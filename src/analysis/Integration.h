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
//
// Instants are whole seconds, so samples taken less than a second apart share a stamp: a run of
// k equal stamps is taken as k samples spread evenly over that second (at t, t + 1/k, ...,
// t + (k - 1)/k), and integrated so.

struct Integral {
  double valueHours = 0;
  qint64 gaps = 0;
  qint64 gapSeconds = 0;
};

// Three times the median of the positive spacings of consecutive instants (the mean of the two
// middle ones for an even count); that of a one-second spacing when all instants are equal; 0
// for fewer than two instants.
double GapLimit(std::span<const qint64> instants);

// The segments of a series one by one, cheapest when asked for in time order: the run of equal
// stamps a sample belongs to is looked for once.
class SegmentIntegrator {
 public:
  SegmentIntegrator(std::span<const qint64> instants, std::span<const double> values,
                    double gapLimit);
  // The segment from sample i to sample i + 1 (i + 1 within the series).
  Integral Segment(std::size_t i);

 private:
  std::size_t RunLength(std::size_t i);

  std::span<const qint64> instants_;
  std::span<const double> values_;
  double gapLimit_;
  std::size_t runBegin_ = 0;  // the run of equal stamps found last, [runBegin_, runEnd_)
  std::size_t runEnd_ = 0;
};

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
