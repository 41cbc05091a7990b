#include <benchmark/benchmark.h>

#include "logger/logic/LoggerSet.h"
#include "sim/LoggerSetLayout.h"

namespace {

// A full 1 MB record set: 116,000 readings at one a minute, padded to whole 64-byte blocks as
// it arrives (16,317 blocks). At one report per millisecond the blocks take about 16.3 s to
// arrive; building the lines must stay under 5 % of that, about 0.8 s.
std::vector<std::uint8_t> MegabyteSet() {
  std::vector<QString> readings;
  for (int i = 0; i < 116'000; ++i) readings.push_back(QString::number(100 + i % 900) + ".5");
  auto stream = solardesk::sim::LayOutLoggerSet(QStringLiteral("000000060"),
                                                QStringLiteral("W/(M)2"), readings);
  stream.resize((stream.size() + 63) / 64 * 64, 0);
  return stream;
}

void BM_ParseLoggerSet1MB(benchmark::State& state) {
  const auto stream = MegabyteSet();
  for (auto _ : state) {
    auto set = solardesk::ParseLoggerSet(stream, QStringLiteral("26/12/31 23:59:30"));
    benchmark::DoNotOptimize(set);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(stream.size()));
}
BENCHMARK(BM_ParseLoggerSet1MB)->Unit(benchmark::kMillisecond);

}  // namespace
