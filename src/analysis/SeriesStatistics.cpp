#include "SeriesStatistics.h"

#include <algorithm>
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
  int firstOffset = 0;
  int lastOffset = 0;

  void Add(double v, int offset) {
    if (count == 0) firstOffset = offset;
    lastOffset = offset;
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
    today->Add(v, series.offsets[i]);
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
    DayFigures d;
    d.day = day;
    d.count = r.count;
    d.min = r.min;
    d.max = r.max;
    d.mean = r.sum / static_cast<double>(r.count);
    d.energy = r.integral.valueHours;
    d.peakSunHours = PeakSunHours(r.integral.valueHours, s.irradianceUnit);
    d.gaps = r.integral.gaps;
    d.beginUtc = day * kSecondsPerDay - r.firstOffset;
    d.endUtc = (day + 1) * kSecondsPerDay - r.lastOffset;
    s.days.push_back(d);
  }
  s.peakSunHours = PeakSunHours(s.energy, s.irradianceUnit);
  return s;
}

double SeriesStatistics::MeanDailyPeakSunHours() const {
  return days.empty() ? 0 : peakSunHours / static_cast<double>(days.size());
}

std::vector<std::pair<double, double>> SunUpSpans(const Site& site, qint64 begin, qint64 end) {
  // The zenith angle once a minute; a crossing of the horizon lies where the straight line
  // between two minutes meets 90 degrees.
  constexpr qint64 kStep = 60;
  // Up while the upper edge of the Sun's disc shows above the horizon: the apparent zenith angle
  // of its centre below 90 degrees and its semi-diameter, as the almanacs reckon sunrise.
  constexpr double kHorizon = 90 + 0.26667;
  std::vector<std::pair<double, double>> spans;
  SolarTrack sun(site);
  qint64 t = begin;
  double height = kHorizon - sun.At(static_cast<double>(t)).zenith;
  double upSince = height > 0 ? static_cast<double>(t) : -1;
  while (t < end) {
    const qint64 next = std::min(t + kStep, end);
    const double nextHeight = kHorizon - sun.At(static_cast<double>(next)).zenith;
    const bool wasUp = height > 0, isUp = nextHeight > 0;
    if (wasUp != isUp) {
      const double at =
          static_cast<double>(t) + static_cast<double>(next - t) * height / (height - nextHeight);
      if (isUp) {
        upSince = at;
      } else {
        spans.emplace_back(upSince, at);
      }
    }
    t = next;
    height = nextHeight;
  }
  if (height > 0 && upSince < static_cast<double>(end))
    spans.emplace_back(upSince, static_cast<double>(end));
  return spans;
}

void AddClearSky(SeriesStatistics& s, const ReadingSeries& series, const Site& site,
                 const ClearSkyOptions& options) {
  const std::span<const qint64> instants(series.instants);
  const std::vector<double> clear = ClearSkySeries(site, instants, s.irradianceUnit, options);

  // The sun-up spans of every date, in time order, each with the date it belongs to.
  struct Span {
    double begin;
    double end;
    std::size_t day;
  };
  std::vector<Span> spans;
  for (std::size_t d = 0; d < s.days.size(); ++d) {
    DayFigures& day = s.days[d];
    day.clearSky = ClearSkyFigures{};
    day.sunUpSeconds = day.coveredSeconds = 0;
    day.completeness.reset();
    for (const auto& [begin, end] : SunUpSpans(site, day.beginUtc, day.endUtc)) {
      spans.push_back({begin, end, d});
      day.sunUpSeconds += end - begin;
    }
  }

  SegmentIntegrator integrator(instants, clear, GapLimit(instants));
  std::size_t d = 0;  // the date of the segment in hand
  double total = 0;
  for (std::size_t i = 0; i + 1 < instants.size(); ++i) {
    const qint64 day = DayOf(instants[i] + series.offsets[i]);
    if (s.days[d].day != day)
      d = static_cast<std::size_t>(
          std::lower_bound(s.days.begin(), s.days.end(), day,
                           [](const DayFigures& f, qint64 v) { return f.day < v; }) -
          s.days.begin());
    const Integral segment = integrator.Segment(i);
    s.days[d].clearSky->energy += segment.valueHours;
    total += segment.valueHours;
    if (segment.gaps > 0 || instants[i + 1] <= instants[i]) continue;
    // The time the segment covers in the sun-up spans it meets.
    const auto a = static_cast<double>(instants[i]), b = static_cast<double>(instants[i + 1]);
    auto span = std::lower_bound(spans.begin(), spans.end(), a,
                                 [](const Span& x, double v) { return x.end <= v; });
    for (; span != spans.end() && span->begin < b; ++span)
      s.days[span->day].coveredSeconds += std::min(b, span->end) - std::max(a, span->begin);
  }

  double sunUp = 0, covered = 0;
  for (DayFigures& day : s.days) {
    if (day.clearSky->energy > 0) day.clearSky->index = day.energy / day.clearSky->energy;
    if (day.sunUpSeconds > 0) day.completeness = day.coveredSeconds / day.sunUpSeconds;
    sunUp += day.sunUpSeconds;
    covered += day.coveredSeconds;
  }
  s.clearSky =
      ClearSkyFigures{total, total > 0 ? std::optional<double>(s.energy / total) : std::nullopt};
  s.completeness = sunUp > 0 ? std::optional<double>(covered / sunUp) : std::nullopt;
}

std::vector<MonthFigures> MonthlyFigures(const SeriesStatistics& s) {
  std::vector<MonthFigures> months;
  double clearEnergy = 0, sunUp = 0, covered = 0;
  const auto finish = [&] {
    MonthFigures& m = months.back();
    m.meanDailyPeakSunHours =
        PeakSunHours(m.energy, s.irradianceUnit) / static_cast<double>(m.days);
    if (s.clearSky && clearEnergy > 0) m.clearSkyIndex = m.energy / clearEnergy;
    if (s.clearSky && sunUp > 0) m.completeness = covered / sunUp;
  };
  for (const DayFigures& d : s.days) {
    const CivilDate date = CivilFromDays(d.day);
    if (months.empty() || months.back().year != date.year || months.back().month != date.month) {
      if (!months.empty()) finish();
      MonthFigures next;
      next.year = date.year;
      next.month = date.month;
      months.push_back(next);
      clearEnergy = sunUp = covered = 0;
    }
    MonthFigures& m = months.back();
    ++m.days;
    m.energy += d.energy;
    if (d.clearSky) clearEnergy += d.clearSky->energy;
    sunUp += d.sunUpSeconds;
    covered += d.coveredSeconds;
  }
  if (!months.empty()) finish();
  return months;
}

}  // namespace solardesk
