// Reading a full data file (345,600 records) into its record series, and what the consumers do
// with it, in the same run as "Open" of that file (bench_recording.cpp). Goals: reading the series
// no slower than "Open" (about 1.3 times `wc -l`); the statistics of a file no longer than 1.5
// times reading it, its CSV export no longer than twice; the memory a record takes is reported
// (counter "bytes_per_record"). The statistics of a series already read take no longer than
// "Open", also with the clear-sky figures of a site.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <QFile>
#include <cstdlib>

#include "FullFile.h"
#include "analysis/ClearSky.h"
#include "analysis/RecordsCsv.h"
#include "analysis/SeriesStatistics.h"
#include "data/RecordFile.h"

namespace {

using namespace solardesk;

RecordSeries ReadFull() {
  RecordSeries records;
  ReadRecordFile(FullFile(), records);
  if (records.count() != kRecordsPerFile) std::abort();
  return records;
}

// What every reader of a file does first.
void BM_ReadRecordSeries(benchmark::State& state) {
  FullFile();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    const RecordSeries records = ReadFull();
    bytes = mallinfo2().uordblks - before;
    benchmark::DoNotOptimize(records.count());
  }
  state.counters["bytes_per_record"] = static_cast<double>(bytes) / kRecordsPerFile;
}
BENCHMARK(BM_ReadRecordSeries)->Unit(benchmark::kMillisecond);

// What "Statistics" does on an opened file list.
void BM_StatisticsOfOpenedList(benchmark::State& state) {
  const RecordSeries records = ReadFull();
  for (auto _ : state) {
    const SeriesStatistics s = ComputeStatistics(ReadSeries(records), records.unit());
    if (s.count != kRecordsPerFile || s.days.size() != 5) std::abort();
  }
}
BENCHMARK(BM_StatisticsOfOpenedList)->Unit(benchmark::kMillisecond);

// The same with a site set: the clear-sky energy and index besides.
void BM_StatisticsWithClearSkyOfOpenedList(benchmark::State& state) {
  const RecordSeries records = ReadFull();
  const Site site{39.742476, -105.1786, 1830.14};
  for (auto _ : state) {
    const ReadingSeries series = ReadSeries(records);
    SeriesStatistics s = ComputeStatistics(series, records.unit());
    AddClearSky(s, series, site);
    if (!s.clearSky || !s.clearSky->index) std::abort();
  }
}
BENCHMARK(BM_StatisticsWithClearSkyOfOpenedList)->Unit(benchmark::kMillisecond);

// What "solardesk-cli stats FILE" does: read the file, then the statistics.
void BM_StatisticsOfFile(benchmark::State& state) {
  FullFile();
  for (auto _ : state) {
    const RecordSeries records = ReadFull();
    benchmark::DoNotOptimize(ComputeStatistics(ReadSeries(records), records.unit()));
  }
}
BENCHMARK(BM_StatisticsOfFile)->Unit(benchmark::kMillisecond);

// What "solardesk-cli export FILE -o OUT.csv" does, the output going to /dev/null.
void BM_ExportFileAsCsv(benchmark::State& state) {
  FullFile();
  QFile out(QStringLiteral("/dev/null"));
  if (!out.open(QIODevice::WriteOnly)) std::abort();
  for (auto _ : state) {
    const RecordSeries records = ReadFull();
    qint64 bytes = 0;
    WriteRecordsCsv(records, records.unit(), [&](QByteArrayView piece) {
      bytes += piece.size();
      return out.write(piece.data(), piece.size()) == piece.size();
    });
    if (bytes < kRecordsPerFile * 40) std::abort();
  }
}
BENCHMARK(BM_ExportFileAsCsv)->Unit(benchmark::kMillisecond);

}  // namespace
