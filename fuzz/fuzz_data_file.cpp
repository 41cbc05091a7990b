#include <unistd.h>

#include <QFile>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "analysis/RecordsCsv.h"
#include "analysis/SeriesStatistics.h"
#include "panel/logic/Instrument.h"
#include "recording/logic/DataFileReader.h"

using namespace solardesk;

// Any bytes as a data file given to "Open": the reader must keep what it could read, never
// crash, and never make more entries than the file has lines. Its statistics count every entry
// once, and its CSV has a line for each.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QString path = QStringLiteral("/tmp/solardesk-fuzz-%1.pvd").arg(getpid());
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  fuzz::EnsureApplication();
  fuzz::ReplayBackend backend({}, 65);
  ManualClock clock;
  NoDialogs dialogs;
  Instrument instrument(backend, clock, dialogs);
  PlainFileList list;
  QString unit;
  const LoadOutcome outcome =
      LoadDataFile(path, QStringLiteral("fuzz.pvd"), list, unit, instrument);
  const auto lines = std::count(data, data + size, '\n') + 1;
  const RecordSeries& records = list.records;
  if (records.count() > lines || outcome.linesRead > lines) __builtin_trap();
  for (int i = 0; i < records.count(); ++i) {
    if (!records.entry(i).contains('\t')) __builtin_trap();
  }
  const SeriesStatistics s = ComputeStatistics(ReadSeries(records), unit);
  if (s.count + s.unreadable != records.count()) __builtin_trap();
  qsizetype csvLines = 0;
  WriteRecordsCsv(records, unit, [&](QByteArrayView piece) {
    csvLines += piece.count("\r\n");
    return true;
  });
  if (csvLines < records.count() + 1) __builtin_trap();
  return 0;
}
