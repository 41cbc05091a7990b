// The record reader on any bytes as a data file, then what every consumer does with the records:
// the statistics (with a site, the clear-sky figures too), their JSON, the CSV export and the
// plot values. Nothing may crash, every record must keep its tab, and the JSON must parse,
// whatever the readings hold (figures that overflow are null).
#include <QJsonDocument>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>

#include "FuzzSupport.h"
#include "analysis/RecordsCsv.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"
#include "data/RecordFile.h"

using namespace solardesk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fuzz.pvd"));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  fuzz::EnsureApplication();
  RecordSeries records;
  const RecordFileOutcome outcome = ReadRecordFile(path, records);
  if (!outcome.opened || records.count() > outcome.linesRead) __builtin_trap();
  qint64 unreadable = 0;
  for (int i = 0; i < records.count(); ++i) {
    if (!records.entry(i).contains('\t')) __builtin_trap();
    const bool readable = records.hasValue(i) && records.instant(i).has_value();
    if (records.hasValue(i) && !std::isfinite(records.value(i))) __builtin_trap();
    unreadable += readable ? 0 : 1;
  }
  if (unreadable != records.unreadable()) __builtin_trap();

  const ReadingSeries series = ReadSeries(records);
  SeriesStatistics s = ComputeStatistics(series, records.unit());
  if (s.count + s.unreadable != records.count()) __builtin_trap();
  if (s.count > 0) {
    AddClearSky(s, series, Site{39.742476, -105.1786, 1830.14});
    QJsonParseError error;
    QJsonDocument::fromJson(StatisticsJson(s), &error);
    if (error.error != QJsonParseError::NoError) __builtin_trap();
  }
  qsizetype csvLines = 0;
  WriteRecordsCsv(records, records.unit(), [&](QByteArrayView piece) {
    csvLines += piece.count("\r\n");
    return true;
  });
  if (csvLines < records.count() + 1) __builtin_trap();
  return 0;
}
