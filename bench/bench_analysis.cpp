// Statistics and CSV export of a full data file (345,600 records), in the same run as "Open" of
// that file (bench_recording.cpp). Goals: the statistics of the opened list take no longer than
// "Open", also with the clear-sky figures of a site; the export of the file (read as "Open" reads
// it, then written as CSV) no longer than twice "Open".
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <cstdlib>
#include <memory>

#include "FullFile.h"
#include "analysis/ClearSky.h"
#include "analysis/RecordsCsv.h"
#include "analysis/SeriesStatistics.h"
#include "core/Clock.h"
#include "core/NoDialogs.h"
#include "panel/logic/Instrument.h"
#include "recording/logic/DataFileReader.h"
#include "sim/VirtualHidBackend.h"

namespace {

using namespace solardesk;

// The file read as the command line reads it: into a file list without a window.
struct ReadFile {
  PlainFileList list;
  QString unit;
};

class HeadlessReader {
 public:
  std::unique_ptr<ReadFile> Read() {
    auto file = std::make_unique<ReadFile>();
    LoadDataFile(FullFile(), QFileInfo(FullFile()).fileName(), file->list, file->unit, instrument_);
    if (file->list.entries.count() != kRecordsPerFile) std::abort();
    return file;
  }

 private:
  ManualClock clock_;
  NoDialogs dialogs_;
  sim::VirtualHidBackend bus_;
  Instrument instrument_{bus_, clock_, dialogs_};
};

// What "Statistics" does on an opened file list.
void BM_StatisticsOfOpenedList(benchmark::State& state) {
  const std::unique_ptr<ReadFile> file = HeadlessReader().Read();
  for (auto _ : state) {
    const SeriesStatistics s = ComputeStatistics(ReadSeries(file->list.entries), file->unit);
    if (s.count != kRecordsPerFile || s.days.size() != 5) std::abort();
  }
}
BENCHMARK(BM_StatisticsOfOpenedList)->Unit(benchmark::kMillisecond);

// The same with a site set: the clear-sky energy and index besides.
void BM_StatisticsWithClearSkyOfOpenedList(benchmark::State& state) {
  const std::unique_ptr<ReadFile> file = HeadlessReader().Read();
  const Site site{39.742476, -105.1786, 1830.14};
  for (auto _ : state) {
    const ReadingSeries series = ReadSeries(file->list.entries);
    SeriesStatistics s = ComputeStatistics(series, file->unit);
    AddClearSky(s, series, site);
    if (!s.clearSky || !s.clearSky->index) std::abort();
  }
}
BENCHMARK(BM_StatisticsWithClearSkyOfOpenedList)->Unit(benchmark::kMillisecond);

// What "solardesk-cli stats FILE" does: read the file, then the statistics.
void BM_StatisticsOfFile(benchmark::State& state) {
  HeadlessReader reader;
  for (auto _ : state) {
    const std::unique_ptr<ReadFile> file = reader.Read();
    benchmark::DoNotOptimize(ComputeStatistics(ReadSeries(file->list.entries), file->unit));
  }
}
BENCHMARK(BM_StatisticsOfFile)->Unit(benchmark::kMillisecond);

// What "solardesk-cli export FILE -o OUT.csv" does, the output going to /dev/null.
void BM_ExportFileAsCsv(benchmark::State& state) {
  HeadlessReader reader;
  QFile out(QStringLiteral("/dev/null"));
  if (!out.open(QIODevice::WriteOnly)) std::abort();
  for (auto _ : state) {
    const std::unique_ptr<ReadFile> file = reader.Read();
    qint64 bytes = 0;
    WriteRecordsCsv(file->list.entries, file->unit, [&](QByteArrayView piece) {
      bytes += piece.size();
      return out.write(piece.data(), piece.size()) == piece.size();
    });
    if (bytes < kRecordsPerFile * 40) std::abort();
  }
}
BENCHMARK(BM_ExportFileAsCsv)->Unit(benchmark::kMillisecond);

}  // namespace
