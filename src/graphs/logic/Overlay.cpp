#include "Overlay.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "core/Calendar.h"
#include "data/RecordSeries.h"

namespace solardesk {

void ReadRecordTimes(const RecordSeries& records, PlotSeriesData& series) {
  const auto n = static_cast<std::size_t>(records.count());
  series.utc.assign(n, std::numeric_limits<double>::quiet_NaN());
  series.offsets.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    if (const std::optional<Instant> at = records.instant(static_cast<int>(i))) {
      series.utc[i] = static_cast<double>(at->utc);
      series.offsets[i] = at->offset;
    }
  }
}

std::optional<qint64> FirstDay(const PlotSeriesData& series) {
  for (std::size_t i = 0; i < series.utc.size(); ++i)
    if (series.timed(i)) return DayOf(static_cast<qint64>(series.utc[i]) + series.offsets[i]);
  return std::nullopt;
}

double DayShift(const PlotSeriesData& series, OverlayMode mode, qint64 referenceDay) {
  const std::optional<qint64> firstDay = FirstDay(series);
  return mode == OverlayMode::ByTimeOfDay && firstDay
             ? static_cast<double>((referenceDay - *firstDay) * kSecondsPerDay)
             : 0.0;
}

double OverlayKey(const PlotSeriesData& series, std::size_t i, OverlayMode mode, double dayShift) {
  switch (mode) {
    case OverlayMode::ByRecord:
      return static_cast<double>(i) + 1.0;
    case OverlayMode::ByTime:
      return series.utc[i];
    default:
      return series.utc[i] + series.offsets[i] + dayShift;
  }
}

OverlayPoints OverlayOf(const PlotSeriesData& series, OverlayMode mode, qint64 referenceDay) {
  OverlayPoints p;
  const auto n = series.values.size();
  if (mode == OverlayMode::ByRecord) {
    p.keys.resize(n);
    std::iota(p.keys.begin(), p.keys.end(), 1.0);
    p.values = series.values;
    return p;
  }
  if (!FirstDay(series)) return p;
  const double shift = DayShift(series, mode, referenceDay);
  p.keys.reserve(n);
  p.values.reserve(n);
  bool ordered = true;
  for (std::size_t i = 0; i < n; ++i) {
    if (!series.timed(i)) continue;
    const double key = OverlayKey(series, i, mode, shift);
    if (!p.keys.empty() && key < p.keys.back()) ordered = false;
    p.keys.push_back(key);
    p.values.push_back(series.values[i]);
  }
  if (!ordered) {
    std::vector<std::size_t> order(p.keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return p.keys[a] < p.keys[b]; });
    OverlayPoints sorted;
    sorted.keys.reserve(order.size());
    sorted.values.reserve(order.size());
    for (const std::size_t i : order) {
      sorted.keys.push_back(p.keys[i]);
      sorted.values.push_back(p.values[i]);
    }
    return sorted;
  }
  return p;
}

std::optional<QString> UnitRefusal(const QString& plotUnit, const QString& seriesUnit) {
  const QString plot = plotUnit.trimmed();
  const QString added = seriesUnit.trimmed();
  if (plot == added) return std::nullopt;
  return QStringLiteral(
             "This series is in %1 and the plot in %2: series of different units "
             "cannot be laid over one another.")
      .arg(added.isEmpty() ? QStringLiteral("no unit") : added,
           plot.isEmpty() ? QStringLiteral("no unit") : plot);
}

QString TooManySeriesText() {
  return QStringLiteral("The plot already shows %1 series, as many as it can hold.")
      .arg(kMostSeries);
}

}  // namespace solardesk
