#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QPixmap>
#include <cmath>

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/NoDialogs.h"
#include "graphs/logic/ClearSkyCurve.h"
#include "graphs/ui/Plot.h"
#include "graphs/ui/RealTimeGraph.h"
#include "panel/logic/Instrument.h"
#include "sim/VirtualHidBackend.h"

namespace solardesk {
namespace {

struct Program {
  ManualClock clock;
  sim::VirtualHidBackend bus;
  NoDialogs dialogs;
  Instrument instrument{bus, clock, dialogs};
};

// A day of sunlight with passing clouds, one value a second.
std::vector<float> Sunlight(int n) {
  std::vector<float> v(static_cast<std::size_t>(n));
  std::uint32_t noise = 12345;
  for (int i = 0; i < n; ++i) {
    noise = noise * 1664525u + 1013904223u;
    const double sun = 1000.0 * std::max(0.0, std::sin(3.14159265 * (i % 86400) / 86400.0));
    v[static_cast<std::size_t>(i)] = static_cast<float>(sun * (0.6 + 0.4 * (noise >> 24) / 255.0));
  }
  return v;
}

// The file plot on screen.
struct ShownPlot {
  ShownPlot() {
    plot.resize(800, 600);
    plot.show();
  }
  // Redraws the plot once per round, first moving the X range by `shift` back and forth (a pan
  // step) unless it is 0.
  void Redraws(benchmark::State& state, double shift) {
    for (auto _ : state) {
      shift = -shift;
      if (shift != 0) plot.CWGraph1->xAxis->moveRange(shift);
      QPixmap picture = plot.CWGraph1->toPixmap(780, 440);
      benchmark::DoNotOptimize(picture);
    }
  }
  Program program;
  Plot plot{program.instrument, QStringLiteral("W/(M)2"), nullptr};
};

// The file plot with a series of n values loaded; `panStep` moves the X range by a few values
// before each redraw (a pan across the whole series), 0 redraws in place.
void PlotRedraws(benchmark::State& state, double panStep) {
  ShownPlot shown;
  const int n = static_cast<int>(state.range(0));
  shown.plot.LoadSeries(Sunlight(n), n);
  shown.Redraws(state, panStep * n);
  state.SetLabel(std::to_string(n) + " points");
}

// A full redraw of the file plot into an offscreen picture.
void BM_FilePlotRedraw(benchmark::State& state) {
  PlotRedraws(state, 0);
}
BENCHMARK(BM_FilePlotRedraw)->Arg(1000)->Arg(345600)->Unit(benchmark::kMillisecond);

// One pan step: the points worth drawing are picked again, and the plot is drawn.
void BM_FilePlotPanStep(benchmark::State& state) {
  PlotRedraws(state, 1.0 / 500);
}
BENCHMARK(BM_FilePlotPanStep)->Arg(1000)->Arg(345600)->Unit(benchmark::kMillisecond);

// `count` series of n values a second each, on consecutive days from 2026-06-01 (UTC), the file
// plot on screen with all of them laid over one another on the time axis.
void SeriesRedraws(benchmark::State& state, double panStep) {
  ShownPlot shown;
  const int count = static_cast<int>(state.range(0));
  const int n = static_cast<int>(state.range(1));
  std::vector<PlotSeriesData> all;
  for (int s = 0; s < count; ++s) {
    PlotSeriesData series;
    series.unit = QStringLiteral("W/(M)2");
    // Each day its own clouds.
    series.values = Sunlight(n + 977 * s);
    series.values.erase(series.values.begin(), series.values.begin() + 977 * s);
    series.utc.resize(series.values.size());
    series.offsets.assign(series.values.size(), 0);
    for (int i = 0; i < n; ++i)
      series.utc[static_cast<std::size_t>(i)] = 1780272000.0 + 86400.0 * s + i;
    all.push_back(std::move(series));
  }
  shown.plot.LoadSeries(std::move(all), n);
  shown.plot.SetOverlay(OverlayMode::ByTime);
  // With a site, the clear-sky curve is drawn anew for each range.
  if (state.range(2) != 0)
    shown.plot.SetSite(Site{52.52, 13.405, 34});
  else
    shown.plot.SetSite(std::nullopt);
  const QCPRange x = shown.plot.CWGraph1->xAxis->range();
  shown.Redraws(state, panStep * (x.upper - x.lower));
  state.SetLabel(std::to_string(count) + " x " + std::to_string(n) + " points" +
                 (state.range(2) != 0 ? " and the clear sky" : ""));
}

// A full redraw of one and of eight long series on the time axis, in the same run (the third
// argument 1: with a site, so with the clear-sky curve).
void BM_SeriesRedraw(benchmark::State& state) {
  SeriesRedraws(state, 0);
}
BENCHMARK(BM_SeriesRedraw)
    ->Args({1, 345600, 0})
    ->Args({8, 345600, 0})
    ->Unit(benchmark::kMillisecond);

// One pan step of the same.
void BM_SeriesPanStep(benchmark::State& state) {
  SeriesRedraws(state, 1.0 / 500);
}
BENCHMARK(BM_SeriesPanStep)
    ->Args({1, 345600, 0})
    ->Args({8, 345600, 0})
    ->Args({8, 345600, 1})
    ->Unit(benchmark::kMillisecond);

// The clear-sky curve the plot works out once for eight days of readings.
void BM_ClearSkyCurveOfEightDays(benchmark::State& state) {
  const AxisRange span{1780272000.0, 1780272000.0 + 8 * 86400.0};
  for (auto _ : state) {
    PlotPoints p = ClearSkyCurve(Site{52.52, 13.405, 34}, span, ClearSkyPointCount(span),
                                 IrradianceUnit::WattsPerSquareMetre);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_ClearSkyCurveOfEightDays)->Unit(benchmark::kMillisecond);

// One tick of the live graph: one segment drawn on the kept picture, with the sweep's wipes and
// time marks when they fall due.
void BM_LiveGraphTick(benchmark::State& state) {
  Program program;
  program.instrument.meter.ReadingText = QStringLiteral("812.5");
  program.instrument.meter.ReadingUnit = QStringLiteral("W/(M)2");
  LiveGraphState graphState;
  graphState.Open(program.instrument.meter.ReadingUnit);
  RealTimeGraph graph(program.instrument, graphState, nullptr);
  graph.show();
  for (auto _ : state) graph.Timer1Tick();
  graph.Timer1.stop();
}
BENCHMARK(BM_LiveGraphTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace solardesk
