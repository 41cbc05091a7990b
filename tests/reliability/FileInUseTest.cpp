// A file one SolarDesk process writes is refused to every other: a second recording onto it ends
// at once with the words the windows use, the station says them in its event log, and the first
// file keeps every record.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QProcess>

#include "DataFileShape.h"
#include "app/CliProcess.h"
#include "core/WriteGate.h"

namespace solardesk::testing {
namespace {

// The record lines of a data file, without the header.
QList<QByteArray> Records(const QString& path) {
  QList<QByteArray> lines = ReadBytes(path).split('\n');
  lines.removeFirst();
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

// The records hold the numbers 1, 2, ... and begin with `seen`.
void ExpectEveryRecord(const QString& path, const QList<QByteArray>& seen) {
  EXPECT_EQ(DataFileFault(path), QString());
  const QList<QByteArray> after = Records(path);
  ASSERT_GT(after.size(), seen.size());
  for (qsizetype i = 0; i < after.size(); ++i)
    EXPECT_EQ(after[i].split('\t')[0].trimmed().toInt(), i + 1) << "line " << i + 2;
  EXPECT_EQ(after.mid(0, seen.size()), seen);
}

void ExpectRefused(const ScenarioFile& s, const QString& path) {
  const CliRun second = RunCli({s.option(), "record", path, "--count", "1"});
  EXPECT_EQ(second.exitCode, 1) << second.err.toStdString();
  EXPECT_TRUE(second.err.contains(kBeingRecordedText)) << second.err.toStdString();
}

TEST(FileInUse, ASecondRecordingProcessIsRefusedAndTheFirstFileKeepsEveryRecord) {
  ScenarioFile s(kWattMeter);
  const QString path = s.file("rec.pvd");
  QProcess first;
  StartCli(first, {s.option(), "record", path, "--interval", "1"});
  ASSERT_TRUE(first.waitForStarted());
  ASSERT_TRUE(WaitFor([&] { return Records(path).size() >= 2; }, 20000));
  ExpectRefused(s, path);
  const QList<QByteArray> seen = Records(path);
  ASSERT_TRUE(WaitFor([&] { return Records(path).size() > seen.size(); }, 20000))
      << "the first recording goes on";
  first.terminate();
  ASSERT_TRUE(first.waitForFinished(15000));
  EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
  ExpectEveryRecord(path, seen);
}

// The station beside a recording that holds today's day file.
struct StationBesideRecording {
  QString dayFile;
  QString events;          // what the station logged
  QList<QByteArray> seen;  // the day file's records once the station had said so
  int stationExit = -1;
  int recordingExit = -1;
  bool dayChanged = false;  // midnight passed meanwhile: the station went on in another file
};

StationBesideRecording RunStationBesideRecording(const ScenarioFile& s) {
  StationBesideRecording run;
  // The station names its day file by the local date of the system clock, as the test does.
  const QDate day = QDate::currentDate();
  const QString folder = s.file("station");
  QDir().mkpath(folder);
  run.dayFile = QDir(folder).filePath(day.toString("yyyy-MM-dd") + ".pvd");
  QProcess recording;
  StartCli(recording, {s.option(), "record", run.dayFile, "--interval", "1"});
  WaitFor([&] { return Records(run.dayFile).size() >= 2; }, 20000);
  const QString events = s.file("events");
  QProcess station;
  station.setStandardErrorFile(events);
  StartCli(station, {s.option(), "monitor", folder, "--interval", "1"});
  WaitFor([&] { return ReadBytes(events).contains(kBeingRecordedText.toUtf8()); }, 20000);
  run.seen = Records(run.dayFile);
  // The recording goes on while the station tries again.
  WaitFor([&] { return Records(run.dayFile).size() > run.seen.size() + 1; }, 20000);
  station.terminate();
  station.waitForFinished(15000);
  recording.terminate();
  recording.waitForFinished(15000);
  run.stationExit = station.exitCode();
  run.recordingExit = recording.exitCode();
  run.events = QString::fromUtf8(ReadBytes(events));
  run.dayChanged = QDate::currentDate() != day;
  return run;
}

TEST(FileInUse, TheStationSaysWhyItCannotWriteADayFileARecordingHolds) {
  ScenarioFile s(kWattMeter);
  StationBesideRecording run = RunStationBesideRecording(s);
  if (run.dayChanged) run = RunStationBesideRecording(s);  // the next midnight is a day away
  const QString said = QStringLiteral("cannot write the data file %1 (%2)")
                           .arg(QDir::toNativeSeparators(run.dayFile), kBeingRecordedText);
  EXPECT_EQ(run.events.count(said), 1) << run.events.toStdString();
  EXPECT_EQ(run.stationExit, 0) << run.events.toStdString();
  EXPECT_EQ(run.recordingExit, 0);
  ExpectEveryRecord(run.dayFile, run.seen);
}

// The file this process writes (here a save of its own) is refused to solardesk-cli alike.
TEST(FileInUse, AFileThisProcessWritesIsRefusedToAnother) {
  ScenarioFile s(kWattMeter);
  const QString path = s.file("saving.pvd");
  QString why;
  const std::unique_ptr<FileWriter> mine = WriteGate::Shared().Open(path, WriteUse::Saving, &why);
  ASSERT_TRUE(mine) << why.toStdString();
  ASSERT_TRUE(mine->Write("mine\r\n"));
  ExpectRefused(s, path);
  EXPECT_EQ(ReadBytes(path).toStdString(), "mine\r\n");
}

}  // namespace
}  // namespace solardesk::testing
