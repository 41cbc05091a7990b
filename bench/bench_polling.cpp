#include <benchmark/benchmark.h>

#include <QImage>

#include "app/SolarDeskApp.h"
#include "core/NoDialogs.h"
#include "sim/VirtualHidBackend.h"

namespace solardesk {
namespace {

// One polling tick against the virtual meter: the exchange, the decode and a redraw of the whole
// meter picture. The reading changes at every tick, so every tick really redraws.
void BM_PollingTick(benchmark::State& state) {
  SystemClock clock;
  NoDialogs dialogs;
  sim::VirtualHidBackend bus;
  auto meter = std::make_shared<sim::VirtualMeter>(clock);
  bus.AddPort(meter);
  SolarDeskApp app(bus, clock, dialogs);
  app.instrument().PauseTimers();  // the benchmark drives the ticks
  app.panel().show();
  QImage canvas(app.panel().face->size(), QImage::Format_ARGB32_Premultiplied);
  int n = 0;
  for (auto _ : state) {
    meter->SetFixedReading(QString::number(100 + (n++ % 900)) + QStringLiteral(".5"));
    app.panel().Timer1Tick();
    app.panel().face->render(&canvas);  // the whole picture, as a paint event draws it
  }
}
BENCHMARK(BM_PollingTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace solardesk
