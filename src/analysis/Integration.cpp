#include "Integration.h"

#include <algorithm>

namespace solardesk {
namespace {

constexpr double kSecondsPerHour = 3600;

// The trapezoid of one spacing in value-hours, or nothing when the spacing is a gap.
bool Trapezoid(qint64 t0, qint64 t1, double v0, double v1, double gapLimit, double& area) {
  const qint64 spacing = t1 - t0;
  if (spacing < 0 || static_cast<double>(spacing) > gapLimit) return false;
  area = (v0 + v1) / 2 * static_cast<double>(spacing) / kSecondsPerHour;
  return true;
}

}  // namespace

double GapLimit(std::span<const qint64> instants) {
  if (instants.size() < 2) return 0;
  std::vector<qint64> spacings(instants.size() - 1);
  for (std::size_t i = 0; i + 1 < instants.size(); ++i) spacings[i] = instants[i + 1] - instants[i];
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

Integral Integrate(std::span<const qint64> instants, std::span<const double> values,
                   double gapLimit, std::size_t begin, std::size_t end) {
  Integral sum;
  end = std::min(end, instants.size() > 0 ? instants.size() - 1 : 0);
  for (std::size_t i = begin; i < end; ++i) {
    double area = 0;
    if (Trapezoid(instants[i], instants[i + 1], values[i], values[i + 1], gapLimit, area)) {
      sum.valueHours += area;
    } else {
      ++sum.gaps;
      sum.gapSeconds += std::max<qint64>(0, instants[i + 1] - instants[i]);
    }
  }
  return sum;
}

Integral Integrate(std::span<const qint64> instants, std::span<const double> values) {
  return Integrate(instants, values, GapLimit(instants), 0, instants.size());
}

std::vector<double> RunningIntegral(std::span<const qint64> instants,
                                    std::span<const double> values, double gapLimit) {
  std::vector<double> running(instants.size(), 0.0);
  for (std::size_t i = 1; i < instants.size(); ++i) {
    double area = 0;
    running[i] = running[i - 1];
    if (Trapezoid(instants[i - 1], instants[i], values[i - 1], values[i], gapLimit, area))
      running[i] += area;
  }
  return running;
}

}  // namespace solardesk
