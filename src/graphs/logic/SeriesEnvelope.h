#pragma once

#include <optional>
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
  // Value i at X = keys[i] rather than at i + 1; keys ascending, one per value.
  SeriesEnvelope(std::vector<float> series, std::vector<double> keys);

  int size() const { return static_cast<int>(values_.size()); }
  const std::vector<float>& values() const { return values_; }
  // X of value i (from 0).
  double key(int i) const { return keys_.empty() ? i + 1.0 : keys_[static_cast<std::size_t>(i)]; }
  // The index of the value whose X lies nearest to `x` (a tie goes to the later one); nothing
  // for an empty series or an X that is not a number.
  std::optional<int> Nearest(double x) const;

  // The points for X from xMin to xMax, with one more point beyond each end so that the line
  // runs to the edges; keys ascending.
  PlotPoints PointsFor(double xMin, double xMax, int maxRuns) const;

 private:
  using Run = std::pair<int, int>;  // indexes of the lowest and the highest value of a run
  void BuildLevels();
  template <typename Order>
  bool Beats(int candidate, int held, Order order) const;
  std::vector<float> values_;
  std::vector<double> keys_;              // empty: value i at X = i + 1
  std::vector<std::vector<Run>> levels_;  // levels_[k - 1]: runs of 2^k values
};

// "Fit" over several series, each value at its key: X from the first to the last key of a
// finite value, Y from the lowest to the highest finite value, widened as FitRanges widens
// them. For one series without keys the same as FitRanges. The Y range also holds the finite
// values of `alongside` (a curve drawn with the series) whose keys lie in that X range.
std::optional<PlotRanges> FitRanges(const std::vector<SeriesEnvelope>& series,
                                    const PlotPoints& alongside = {});

}  // namespace solardesk
