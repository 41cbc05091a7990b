#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdio>

#include "analysis/BerlinTime.h"
#include "analysis/RecordsCsv.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"
#include "core/Clock.h"
#include "core/NoDialogs.h"
#include "graphs/logic/PlotSeriesFile.h"
#include "panel/logic/Instrument.h"
#include "recording/logic/DataFileReader.h"
#include "sim/VirtualHidBackend.h"

namespace solardesk::testing {
namespace {

// Every data file of series-regression/ read as "Open" reads it, then exported, summed up as
// `stats --json` and plotted; the outputs must match those kept beside the file
// (NAME.pvd.expected), which were taken from the readers that came before the record series.
// Only the plot of a reading that is no number differs from then: a break (nan) where it was 0.
class SeriesRegression : public BerlinTime {
 protected:
  QByteArray Outputs(const QString& path, const QString& name) {
    PlainFileList list;
    QString unit = QStringLiteral("(none)");
    const LoadOutcome o = LoadDataFile(path, name, list, unit, instrument_);
    QByteArray out = "[open]\n";
    out += "complete " + QByteArray::number(o.complete) + " lines " +
           QByteArray::number(o.linesRead) + "\n";
    out += "caption " + list.caption.toLatin1() + "\n";
    out += "title " + list.title.toLatin1() + "\n";
    out += "unit " + unit.toLatin1() + "\n";
    const RecordSeries& records = list.records;
    for (int i = 0; i < records.count(); ++i) out += records.entry(i).toByteArray() + "\n";
    out += "[export]\n";
    WriteRecordsCsv(records, unit, [&](QByteArrayView piece) {
      out += piece.toByteArray();
      return true;
    });
    out += "[stats]\n";
    const SeriesStatistics s = ComputeStatistics(ReadSeries(records), unit);
    out += s.count ? StatisticsJson(s) : QByteArray("no readable record\n");
    out += "[plot]\n";
    const PlotSeriesData plot = PlotSeriesOfRecords(records, name, unit);
    for (std::size_t i = 0; i < plot.values.size(); ++i) {
      char line[128];
      std::snprintf(line, sizeof line, "%zu %.9g %s %d\n", i + 1, double{plot.values[i]},
                    plot.timed(i) ? QByteArray::number(qint64(plot.utc[i])).constData() : "-",
                    plot.timed(i) ? plot.offsets[i] : 0);
      out += line;
    }
    return out;
  }

  ManualClock clock_;
  NoDialogs dialogs_;
  sim::VirtualHidBackend bus_;
  Instrument instrument_{bus_, clock_, dialogs_};
};

TEST_F(SeriesRegression, EveryFileGivesTheOutputsKeptBesideIt) {
  const QDir dir(QStringLiteral(SOLARDESK_SOURCE_DIR "/tests/app/series-regression"));
  const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.pvd")}, QDir::Files);
  ASSERT_GE(files.size(), 7);
  for (const QFileInfo& file : files) {
    QFile expected(file.filePath() + QStringLiteral(".expected"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly)) << expected.fileName().toStdString();
    EXPECT_EQ(Outputs(file.filePath(), file.fileName()).toStdString(),
              expected.readAll().toStdString())
        << file.fileName().toStdString();
  }
}

}  // namespace
}  // namespace solardesk::testing
