#include "PlotSeriesFile.h"

#include <QFileInfo>

#include "TimeAxisText.h"
#include "recording/logic/DataFileReader.h"
#include "recording/logic/PlotSeries.h"

namespace solardesk {
QString SeriesName(const QString& source, const PlotSeriesData& series) {
  for (std::size_t i = 0; i < series.utc.size(); ++i) {
    if (!series.timed(i)) continue;
    const double local = series.utc[i] + series.offsets[i];
    return source + QStringLiteral("  ") + TimeText(local, NoUtcOffset);
  }
  return source;
}

PlotSeriesData PlotSeriesOfRecords(const RecordSeries& records, const QString& name,
                                   const QString& unit) {
  PlotSeriesData series;
  PlainFileList quiet;
  ProgressPacer pacer(quiet, false);
  series.values = BuildPlotSeries(records, pacer);
  series.unit = unit.trimmed();
  ReadRecordTimes(records, series);
  series.name = name;
  return series;
}

std::optional<PlotSeriesData> ReadPlotSeriesFile(const QString& path, Instrument& instrument) {
  PlainFileList list;
  QString unit;
  const QString title = QFileInfo(path).fileName();
  const LoadOutcome outcome = LoadDataFile(path, title, list, unit, instrument);
  if (outcome.linesRead == 0 || list.records.empty()) return std::nullopt;
  PlotSeriesData series = PlotSeriesOfRecords(list.records, QString(), unit);
  series.name = SeriesName(title, series);
  return series;
}

}  // namespace solardesk
