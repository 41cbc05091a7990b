#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <memory>

#include "CliProcess.h"
#include "core/Clock.h"
#include "panel/logic/Instrument.h"
#include "recording/logic/DataFileReader.h"
#include "sim/VirtualHidBackend.h"
#include "support/ScriptedDialogs.h"

namespace solardesk::testing {
namespace {

const QByteArray kWattMeter = R"({"reading": "98.76", "unit": "W/(M)2", "logger": {
  "capacity_kb": 1000000, "free_kb": 500000, "sets": [
  {"start": "26/03/29 00:30:00", "interval": "000010800", "unit": "W/m2     ",
   "readings": ["123.4", "  0.5"]},
  {"start": "26/07/01 12:00:00", "interval": "000000060", "unit": "btu      ",
   "readings": ["  9.9"]}]}})";

// A data file read back through "Open".
struct OpenedFile {
  PlainFileList list;
  QString unit;
  LoadOutcome outcome;
};

std::unique_ptr<OpenedFile> Open(const QString& path) {
  sim::VirtualHidBackend bus;
  ManualClock clock;
  ScriptedDialogs dialogs;
  Instrument instrument(bus, clock, dialogs);
  auto file = std::make_unique<OpenedFile>();
  file->outcome =
      LoadDataFile(path, QFileInfo(path).fileName(), file->list, file->unit, instrument);
  return file;
}

// The date-time field of a loaded record line.
QDateTime SampleTime(const QString& entry) {
  return QDateTime::fromString(entry.section('\t', 1, 1), QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

// 1.5 seconds becomes 2: the samples come two seconds apart.
TEST(CliRecord, RecordsSamplesThatOpenReadsBack) {
  ScenarioFile s(kWattMeter);
  const QString path = s.file("site.pvd");
  const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
  const CliRun r = RunCli({s.option(), "record", path, "--interval", "1.5", "--count", "3"});
  const QDateTime end = QDateTime::currentDateTime().addSecs(1);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.isEmpty());

  const auto file = Open(path);
  ASSERT_TRUE(file->outcome.complete);
  EXPECT_EQ(file->list.title, "      No.s\t            Date Time\t         W/(M)2\t");
  EXPECT_EQ(file->unit, "         W/(M)2");
  ASSERT_EQ(file->list.entries.count(), 3);
  for (int i = 0; i < 3; ++i) {
    const QString entry = file->list.entries.line(i);
    EXPECT_EQ(entry.section('\t', 0, 0), QStringLiteral("%1").arg(i + 1, 10));
    EXPECT_EQ(entry.section('\t', 2), " 98.76\t");
    if (i > 0) {
      EXPECT_EQ(SampleTime(file->list.entries.line(i - 1)).secsTo(SampleTime(entry)), 2);
    }
  }
  EXPECT_GE(SampleTime(file->list.entries.line(0)), start);
  EXPECT_LE(SampleTime(file->list.entries.line(2)), end);
  // Every line on disk ends with CR LF, the last one too.
  const QByteArray bytes = ReadAll(path);
  EXPECT_EQ(bytes.count("\r\n"), 4);
  EXPECT_TRUE(bytes.endsWith("\t\r\n"));
}

TEST(CliRecord, RefusalsAndFailures) {
  ScenarioFile s(kWattMeter);
  ScenarioFile noUnit(R"({"reading": "12.3", "unit": ""})");
  ScenarioFile silent(R"({"silent": true})");
  const QString path = s.file("never.pvd");
  ExpectFailures({
      {{noUnit.option(), "record", path}, 1, "shows no unit; nothing was recorded"},
      {{silent.option(), "record", path}, 1, "does not answer"},
      {{s.option(), "record", "/no/such/folder/x.pvd"}, 1, "cannot create the data file"},
      {{s.option(), "record"}, 2, "usage: record FILE"},
      {{s.option(), "record", path, "--interval", "often"}, 2, "not a number of seconds"},
      {{s.option(), "record", path, "--count", "0"}, 2, "--count"},
      {{s.option(), "record", path, "--interval"}, 2, "--interval needs a value"},
  });
  EXPECT_FALSE(QFileInfo::exists(path));
  // Each failed write says so as it happens, then the count at the end.
  const CliRun full = RunCli({s.option(), "record", "/dev/full", "--count", "2"});
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_TRUE(full.err.contains("2 sample(s) could not be written")) << full.err.toStdString();
}

// Writes a data file with the given lines, each ended by CR LF.
QString DataFile(const ScenarioFile& s, const QString& name, const QList<QByteArray>& lines) {
  QFile f(s.file(name));
  f.open(QIODevice::WriteOnly);
  for (const QByteArray& line : lines) f.write(line + "\r\n");
  return f.fileName();
}

// Two-digit years of the logger's lines read as 20yy.
TEST(CliExport, EveryLineFormBecomesTheSameCsv) {
  ScenarioFile s("{}");
  const QByteArray header = "      No.s\t            Date Time\t    Btu/(ft)2.h\t";
  const std::pair<const char*, QByteArray> cases[] = {
      {"recording", "      7\t2026/07/01 12:00:05\t 12.34\t"},
      {"list", "      7\t2026/07/01 12:00:05\t12.34\t"},
      {"logger", "         7\t  26/07/01 12:00:05\t 12.34\t"},
  };
  for (const auto& [form, record] : cases) {
    const QString file = DataFile(s, QStringLiteral("%1.pvd").arg(form), {header, record});
    const CliRun r = RunCli({"export", file, "-o", file + ".csv"}, {kCentralEuropeTz});
    EXPECT_EQ(r.exitCode, 0) << form << ": " << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(ReadAll(file + ".csv"),
              "number,time,value,unit\r\n"
              "7,2026-07-01T12:00:05+02:00,12.34,Btu/(ft)2.h\r\n")
        << form;
  }
}

TEST(CliExport, FieldsAreQuotedAndOddTimesKept) {
  ScenarioFile s("{}");
  const QString file = DataFile(s, "odd.pvd",
                                {"      No.s\t            Date Time\t         W/(M)2\t",
                                 "      1\t2026/03/29 02:30:00\t 1,5\t",  // a skipped hour
                                 "      2\tyesterday\t \"9\"\t"});
  const CliRun r = RunCli({"export", file}, {kCentralEuropeTz});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out,
            "number,time,value,unit\r\n"
            "1,2026/03/29 02:30:00,\"1,5\",W/(M)2\r\n"
            "2,yesterday,\"\"\"9\"\"\",W/(M)2\r\n");
}

TEST(CliExport, UnreadableFiles) {
  ScenarioFile s("{}");
  const QString broken = DataFile(s, "broken.pvd",
                                  {"      No.s\t            Date Time\t         W/(M)2\t",
                                   "      1\t2026/12/04 10:00:00\t 5.0\t", "no tab here",
                                   "      3\t2026/12/04 10:00:02\t 5.2\t"});
  const CliRun partial = RunCli({"export", broken}, {kCentralEuropeTz});
  EXPECT_EQ(partial.exitCode, 1);
  EXPECT_EQ(partial.out, "number,time,value,unit\r\n1,2026-12-04T10:00:00+01:00,5.0,W/(M)2\r\n");
  EXPECT_TRUE(partial.err.contains("line 3")) << partial.err.toStdString();

  ExpectFailures({{{"export", s.file("none.pvd")}, 1, "cannot read"}, {{"export"}, 2, ""}});
}

}  // namespace
}  // namespace solardesk::testing
