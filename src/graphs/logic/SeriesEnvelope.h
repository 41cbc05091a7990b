#pragma once

#include <utility>
#include <vector>

#include "PlotRanges.h"

namespace solardesk {

// The points of a long series worth drawing for a visible X range. When the range holds few
// values they are all drawn; otherwise the range is cut into at most `maxRuns` equal runs of
// values (about one per pixel of the plot's width) and each run is drawn as its lowest and its
// highest value, in file order. Every spike stays visible, and a redraw or a pan step costs about
// the same for four days of one-second records as for a few minutes. The runs come from levels
// built once per series (runs of 2, 4, 8, ... values).
class SeriesEnvelope {
 public:
  SeriesEnvelope() = default;
  explicit SeriesEnvelope(std::vector<float> series);

  int size() const { return static_cast<int>(values_.size()); }
  const std::vector<float>& values() const { return values_; }

  // The points for X from xMin to xMax (value k at X = k), with one more point beyond each end
  // so that the line runs to the edges; keys ascending.
  PlotPoints PointsFor(double xMin, double xMax, int maxRuns) const;

 private:
  using Run = std::pair<int, int>;  // indexes of the lowest and the highest value of a run
  std::vector<float> values_;
  std::vector<std::vector<Run>> levels_;  // levels_[k - 1]: runs of 2^k values
};

}  // namespace solardesk
