// A file one SolarDesk process writes is refused to every other: a second recording onto it ends
// at once with the words the windows use, and the first file keeps every record.
#include <gtest/gtest.h>

#include <QProcess>

#include "DataFileShape.h"
#include "app/CliProcess.h"
#include "core/WriteGate.h"

namespace solardesk::testing {
namespace {

const QByteArray kWattMeter = R"({"reading": "98.76", "unit": "W/(M)2"})";

// The record lines of a data file, without the header.
QList<QByteArray> Records(const QString& path) {
  QList<QByteArray> lines = ReadBytes(path).split('\n');
  lines.removeFirst();
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
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

  EXPECT_EQ(DataFileFault(path), QString());
  const QList<QByteArray> after = Records(path);
  ASSERT_GT(after.size(), seen.size());
  for (qsizetype i = 0; i < after.size(); ++i)
    EXPECT_EQ(after[i].split('\t')[0].trimmed().toInt(), i + 1) << "line " << i + 2;
  EXPECT_EQ(after.mid(0, seen.size()), seen);
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
