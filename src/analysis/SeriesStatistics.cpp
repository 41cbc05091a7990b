#include "SeriesStatistics.h"

#include <map>

#include "Integration.h"
#include "core/Calendar.h"

namespace solardesk {
namespace {

struct Running {
  qint64 count = 0;
  double min = 0;
  double max = 0;
  double sum = 0;
  Integral integral;

  void Add(double v) {
    if (count == 0 || v < min) min = v;
    if (count == 0 || v > max) max = v;
    sum += v;
    ++count;
  }
};

}  // namespace

SeriesStatistics ComputeStatistics(const ReadingSeries& series, const QString& unitText) {
  SeriesStatistics s;
  s.unit = unitText.trimmed();
  s.irradianceUnit = UnitOfText(unitText);
  s.unreadable = series.unreadable;
  const std::size_t n = series.size();
  if (n == 0) return s;

  const std::span<const qint64> instants(series.instants);
  const std::span<const double> values(series.values);
  SegmentIntegrator integrator(instants, values, GapLimit(instants));
  std::size_t minAt = 0, maxAt = 0;
  double sum = 0;
  // Samples come in time order, so a date's samples mostly follow one another: the date in
  // hand is kept and the map searched only when the date changes.
  std::map<qint64, Running> days;
  qint64 currentDay = DayOf(series.instants[0] + series.offsets[0]);
  Running* today = &days[currentDay];
  for (std::size_t i = 0; i < n; ++i) {
    const double v = values[i];
    if (v < values[minAt]) minAt = i;
    if (v > values[maxAt]) maxAt = i;
    sum += v;
    const qint64 day = DayOf(series.instants[i] + series.offsets[i]);
    if (day != currentDay) {
      currentDay = day;
      today = &days[day];
    }
    today->Add(v);
    if (i + 1 < n) {
      const Integral segment = integrator.Segment(i);
      today->integral.valueHours += segment.valueHours;
      today->integral.gaps += segment.gaps;
      today->integral.gapSeconds += segment.gapSeconds;
    }
  }

  s.count = static_cast<qint64>(n);
  s.first = series.instant(0);
  s.last = series.instant(n - 1);
  s.min = {values[minAt], series.instant(minAt)};
  s.max = {values[maxAt], series.instant(maxAt)};
  s.mean = sum / static_cast<double>(n);
  for (const auto& [day, r] : days) {
    s.energy += r.integral.valueHours;
    s.gaps += r.integral.gaps;
    s.gapSeconds += r.integral.gapSeconds;
    s.days.push_back({day, r.count, r.min, r.max, r.sum / static_cast<double>(r.count),
                      r.integral.valueHours, PeakSunHours(r.integral.valueHours, s.irradianceUnit),
                      r.integral.gaps});
  }
  s.peakSunHours = PeakSunHours(s.energy, s.irradianceUnit);
  return s;
}

void AddClearSky(SeriesStatistics& s, const ReadingSeries& series, const Site& site) {
  s.clearSky = ComputeClearSky(site, series.instants, s.energy, s.irradianceUnit);
}

}  // namespace solardesk
