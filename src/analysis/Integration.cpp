#include "Integration.h"

#include <algorithm>

namespace solardesk {
namespace {

constexpr double kSecondsPerHour = 3600;

}  // namespace

double GapLimit(std::span<const qint64> instants) {
  if (instants.size() < 2) return 0;
  std::vector<qint64> spacings;
  spacings.reserve(instants.size() - 1);
  for (std::size_t i = 0; i + 1 < instants.size(); ++i)
    if (instants[i + 1] > instants[i]) spacings.push_back(instants[i + 1] - instants[i]);
  if (spacings.empty()) return 3;
  const std::size_t middle = spacings.size() / 2;
  std::nth_element(spacings.begin(), spacings.begin() + static_cast<std::ptrdiff_t>(middle),
                   spacings.end());
  double median = static_cast<double>(spacings[middle]);
  if (spacings.size() % 2 == 0) {
    const qint64 below =
        *std::max_element(spacings.begin(), spacings.begin() + static_cast<std::ptrdiff_t>(middle));
    median = (median + static_cast<double>(below)) / 2;
  }
  return 3 * median;
}

SegmentIntegrator::SegmentIntegrator(std::span<const qint64> instants,
                                     std::span<const double> values, double gapLimit)
    : instants_(instants), values_(values), gapLimit_(gapLimit) {}

std::size_t SegmentIntegrator::RunLength(std::size_t i) {
  if (i < runBegin_ || i >= runEnd_) {
    const qint64 stamp = instants_[i];
    runBegin_ = i;
    while (runBegin_ > 0 && instants_[runBegin_ - 1] == stamp) --runBegin_;
    runEnd_ = i + 1;
    while (runEnd_ < instants_.size() && instants_[runEnd_] == stamp) ++runEnd_;
  }
  return runEnd_ - runBegin_;
}

Integral SegmentIntegrator::Segment(std::size_t i) {
  Integral segment;
  const qint64 step = instants_[i + 1] - instants_[i];
  if (step < 0) {
    segment.gaps = 1;
    return segment;
  }
  // Sample i is 1/k into its second past the one before it in its run; when the stamp changes,
  // it is the last of its run, (k - 1)/k into its second.
  const double k = static_cast<double>(RunLength(i));
  const double spacing = step == 0 ? 1 / k : static_cast<double>(step) - (k - 1) / k;
  if (spacing > gapLimit_) {
    segment.gaps = 1;
    segment.gapSeconds = step;
  } else {
    segment.valueHours = (values_[i] + values_[i + 1]) / 2 * spacing / kSecondsPerHour;
  }
  return segment;
}

Integral Integrate(std::span<const qint64> instants, std::span<const double> values,
                   double gapLimit, std::size_t begin, std::size_t end) {
  Integral sum;
  end = std::min(end, instants.size() > 0 ? instants.size() - 1 : 0);
  SegmentIntegrator integrator(instants, values, gapLimit);
  for (std::size_t i = begin; i < end; ++i) {
    const Integral segment = integrator.Segment(i);
    sum.valueHours += segment.valueHours;
    sum.gaps += segment.gaps;
    sum.gapSeconds += segment.gapSeconds;
  }
  return sum;
}

Integral Integrate(std::span<const qint64> instants, std::span<const double> values) {
  return Integrate(instants, values, GapLimit(instants), 0, instants.size());
}

std::vector<double> RunningIntegral(std::span<const qint64> instants,
                                    std::span<const double> values, double gapLimit) {
  std::vector<double> running(instants.size(), 0.0);
  SegmentIntegrator integrator(instants, values, gapLimit);
  for (std::size_t i = 1; i < instants.size(); ++i)
    running[i] = running[i - 1] + integrator.Segment(i - 1).valueHours;
  return running;
}

}  // namespace solardesk
