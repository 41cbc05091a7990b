#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QPixmap>
#include <cmath>

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/NoDialogs.h"
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

// The file plot on screen with a series of n values loaded; `panStep` moves the X range by a
// few values before each redraw (a pan across the whole series), 0 redraws in place.
void PlotRedraws(benchmark::State& state, double panStep) {
  Program program;
  Plot plot(program.instrument, QStringLiteral("W/(M)2"), nullptr);
  plot.resize(800, 600);
  plot.show();
  const int n = static_cast<int>(state.range(0));
  plot.LoadSeries(Sunlight(n), n);
  double shift = panStep * n;
  for (auto _ : state) {
    shift = -shift;
    if (shift != 0) plot.CWGraph1->xAxis->moveRange(shift);
    QPixmap picture = plot.CWGraph1->toPixmap(780, 440);
    benchmark::DoNotOptimize(picture);
  }
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
