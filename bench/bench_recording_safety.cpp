// The recording's timing under load: whether every second gets exactly one recording tick, and
// whether syncing the data file to the disk holds up the 100 ms polling tick.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "DrivenApp.h"
#include "recording/logic/SecondTicker.h"

namespace solardesk {
namespace {

// Threads that keep every core busy, as other programs on the PC do.
class BusyCores {
 public:
  explicit BusyCores(unsigned n) {
    for (unsigned i = 0; i < n; ++i)
      threads_.emplace_back([this] {
        volatile unsigned long x = 0;
        while (!stop_) x = x + 1;
      });
  }
  ~BusyCores() {
    stop_ = true;
    for (std::thread& t : threads_) t.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};

// Runs the event loop for `seconds` with the cores busy and a tick source installed by
// `install`; counts the seconds of the wall clock that got two ticks or more (duplicates) and
// those between the first and the last that got none (gaps).
template <typename Install>
void CountSecondsOfTicks(benchmark::State& state, Install install) {
  SystemClock clock;
  std::map<qint64, int> ticksPerSecond;
  for (auto _ : state) {
    BusyCores busy(std::max(2u, std::thread::hardware_concurrency()));
    QTimer timer;
    auto keep = install(timer, clock, [&] { ++ticksPerSecond[clock.now().toSecsSinceEpoch()]; });
    timer.start();
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(state.range(0)) * 1000, &loop, &QEventLoop::quit);
    loop.exec();
  }
  int duplicates = 0;
  int gaps = 0;
  for (auto it = ticksPerSecond.begin(); it != ticksPerSecond.end(); ++it) {
    if (it->second > 1) ++duplicates;
    const auto next = std::next(it);
    if (next != ticksPerSecond.end()) gaps += static_cast<int>(next->first - it->first - 1);
  }
  state.counters["seconds"] = static_cast<double>(ticksPerSecond.size());
  state.counters["duplicates"] = duplicates;
  state.counters["gaps"] = gaps;
}

// Timer2 as the recording runs it: kept in step with the wall clock. Goal: no duplicates, no gaps.
void BM_RecordingTicksInStepWithTheClock(benchmark::State& state) {
  CountSecondsOfTicks(state, [](QTimer& timer, const Clock& clock, std::function<void()> tick) {
    return std::make_unique<SecondTicker>(timer, clock, std::move(tick));
  });
}
BENCHMARK(BM_RecordingTicksInStepWithTheClock)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

// For comparison: a plain repeating timer of 1000 ms, as Timer2 once was.
void BM_PlainRepeatingTimerTicks(benchmark::State& state) {
  CountSecondsOfTicks(state, [](QTimer& timer, const Clock&, std::function<void()> tick) {
    timer.setInterval(1000);
    return std::make_unique<QMetaObject::Connection>(
        QObject::connect(&timer, &QTimer::timeout, std::move(tick)));
  });
}
BENCHMARK(BM_PlainRepeatingTimerTicks)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

// A polling tick and a recording tick while the data file is synced to the disk. 16 MB are
// made dirty in the recording file before each sync, so the sync takes a while on a real disk;
// the ticks run meanwhile on the GUI thread. The folder is SOLARDESK_BENCH_DIR or the current
// one (a folder on tmpfs syncs at once and proves nothing). Goal: the longest tick during a sync
// stays far below the 100 ms polling period.
void BM_TicksWhileTheRecordingSyncs(benchmark::State& state) {
  const QString folder = qEnvironmentVariable("SOLARDESK_BENCH_DIR", QDir::currentPath());
  QTemporaryDir dir(folder + QStringLiteral("/sync-bench-XXXXXX"));
  DrivenApp driven;
  SolarDeskApp& app = driven.app;
  FileTransfer& transfer = app.recording().transfer;
  const QString path = dir.filePath(QStringLiteral("synced.pvd"));
  if (!transfer.StartFileRecording(path)) {
    state.SkipWithError("cannot create the data file");
    return;
  }
  QFile dirt(path);
  if (!dirt.open(QIODevice::Append)) std::abort();
  const QByteArray block(1 << 20, 'x');
  double longestMs = 0;
  long ticksDuringSync = 0;
  const auto timedTicks = [&] {
    QElapsedTimer t;
    t.start();
    transfer.recorder.RecordingTick();
    app.panel().Timer1Tick();
    longestMs = std::max(longestMs, static_cast<double>(t.nsecsElapsed()) / 1e6);
  };
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < 16; ++i) dirt.write(block);
    dirt.flush();
    state.ResumeTiming();
    driven.clock.advanceMs(10000);
    timedTicks();  // starts the sync
    while (!WriteGate::Shared().WaitForSyncs(0)) {
      timedTicks();
      ++ticksDuringSync;
    }
  }
  transfer.StopFileRecording();
  state.counters["longest_tick_ms"] = longestMs;
  state.counters["ticks_during_sync"] = static_cast<double>(ticksDuringSync);
}
BENCHMARK(BM_TicksWhileTheRecordingSyncs)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace solardesk
