// The site report of eight dates at a reading a second (691,200 readings, eight day files as a
// station writes them) for a tilted sensor: reading the files into one series, the statistics
// with the clear sky and the PDF. Goals: at most 3 s, and at its fullest no more than twice the
// series in memory. Counter "held_over_series": how far the resident set's high-water mark grows
// over the run beyond the series, in series (at most 1); "peak_growth_mib" and "series_mib" are
// the two sizes.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>

#include "ProcessMemory.h"
#include "analysis/ClearSky.h"
#include "data/RecordFile.h"
#include "recording/logic/DataFileFormat.h"
#include "report/SiteReport.h"

namespace {

using namespace solardesk;

constexpr int kDates = 8;
const Site kGolden{39.742476, -105.1786, 1830.14};
// The report's sensor: tilted to the south, so that the clear sky is Ineichen's carried onto
// its plane by Perez, the dearest of the clear skies.
const Site kTilted{39.742476, -105.1786, 1830.14, 30};
const ClearSkyOptions kIneichen{ClearSkyModel::Ineichen};

// Eight day files, a reading a second of half the clear sky, written once per run.
const QStringList& DayFiles() {
  static QTemporaryDir dir;
  static const QStringList paths = [] {
    QStringList list;
    for (int d = 0; d < kDates; ++d) {
      const QString p = dir.filePath(QStringLiteral("day%1.pvd").arg(d));
      QFile f(p);
      if (!f.open(QIODevice::WriteOnly)) std::abort();
      QByteArray bytes = HeaderText(QStringLiteral("W/(M)2")).toLatin1() + "\r\n";
      const QDateTime midnight(QDate(2026, 6, 21 + d), QTime(0, 0, 0));
      for (int i = 0; i < 86400; ++i) {
        const QDateTime t = midnight.addSecs(i);
        const double v = ClearSkyGhi(kGolden, t.toSecsSinceEpoch()) / 2;
        bytes += RecordText(static_cast<float>(i + 1), SampleTimeText(t),
                            QString::number(std::round(v * 10) / 10, 'f', 1))
                     .toLatin1();
        bytes += "\r\n";
      }
      f.write(bytes);
      list << p;
    }
    return list;
  }();
  return paths;
}

// The resident set's high-water mark set back to the resident set of now, so that VmHWM tells
// the highest it reaches from here on, passing peaks inside a step included.
void ResetPeak() {
  QFile f(QStringLiteral("/proc/self/clear_refs"));
  if (!f.open(QIODevice::WriteOnly) || f.write("5") != 1) std::abort();
}

// A report of a few readings, so that the fonts and the PDF engine are loaded before the run.
void WarmUp() {
  ReadingSeries series;
  for (int i = 0; i < 3; ++i) {
    series.instants.push_back(1782036000 + i);
    series.offsets.push_back(0);
    series.values.push_back(500);
    series.entries.push_back(i);
  }
  SeriesStatistics s = ComputeStatistics(series, QStringLiteral("W/(M)2"));
  AddClearSky(s, series, kTilted, kIneichen);
  const SiteReportInput input{s, series, {kTilted, kIneichen, QStringLiteral("UTC")}, {}, {}};
  if (SiteReportPdf(input, QPageSize(QPageSize::A4)).isEmpty()) std::abort();
}

void BM_SiteReportOfEightDatesAtOneSecond(benchmark::State& state) {
  const QStringList& files = DayFiles();
  double held = 0;
  std::size_t pdfBytes = 0;
  WarmUp();
  for (auto _ : state) {
    malloc_trim(0);
    ResetPeak();
    const long before = StatusKb("VmRSS");
    ReadingSeries series;
    std::vector<ReportFile> described;
    for (const QString& path : files) {
      RecordSeries records;
      ReadRecordFile(path, records);
      const ReadingSeries part = ReadSeries(records);
      series.instants.insert(series.instants.end(), part.instants.begin(), part.instants.end());
      series.offsets.insert(series.offsets.end(), part.offsets.begin(), part.offsets.end());
      series.values.insert(series.values.end(), part.values.begin(), part.values.end());
      series.entries.insert(series.entries.end(), part.entries.begin(), part.entries.end());
      described.push_back(DescribeFile(path));
    }
    SeriesStatistics s = ComputeStatistics(series, QStringLiteral("W/(M)2"));
    AddClearSky(s, series, kTilted, kIneichen);
    const SiteReportInput input{
        s, series, {kTilted, kIneichen, QStringLiteral("UTC")}, described, QStringLiteral("bench")};
    const QByteArray pdf = SiteReportPdf(input, QPageSize(QPageSize::A4));
    const long peak = StatusKb("VmHWM") - before;
    if (s.count != kDates * 86400 || s.days.size() != kDates || pdf.isEmpty() || before < 0)
      std::abort();
    // The series' own bytes, without the room its vectors keep to grow.
    const double seriesBytes = static_cast<double>(
        series.size() * (sizeof(series.instants[0]) + sizeof(series.offsets[0]) +
                         sizeof(series.values[0]) + sizeof(series.entries[0])));
    pdfBytes = static_cast<std::size_t>(pdf.size());
    held = static_cast<double>(peak) * 1024 / seriesBytes - 1;
    state.counters["series_mib"] = seriesBytes / (1 << 20);
    state.counters["peak_growth_mib"] = static_cast<double>(peak) / 1024;
  }
  state.counters["held_over_series"] = held;
  state.counters["pdf_kib"] = static_cast<double>(pdfBytes) / 1024;
}
BENCHMARK(BM_SiteReportOfEightDatesAtOneSecond)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
