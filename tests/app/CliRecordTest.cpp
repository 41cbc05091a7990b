#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>

#include "CliProcess.h"

namespace solardesk::testing {
namespace {

// 1.5 seconds becomes 2: the samples come two seconds apart, each line ended with CR LF.
TEST(CliRecord, RecordsSamplesAtTheIntervalGiven) {
  ScenarioFile s(kWattMeter);
  const QString path = s.file("site.pvd");
  const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
  const CliRun r = RunCli({s.option(), "record", path, "--interval", "1.5", "--count", "3"});
  const QDateTime end = QDateTime::currentDateTime().addSecs(1);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.isEmpty());

  const QList<QByteArray> lines = ReadBytes(path).split('\n');
  ASSERT_EQ(lines.size(), 5);  // the header, three records, nothing after the last line end
  EXPECT_EQ(lines[0], "      No.s\t            Date Time\t         W/(M)2\t\r");
  std::vector<QDateTime> times;
  for (int n = 1; n <= 3; ++n) {
    const QList<QByteArray> f = lines[n].split('\t');
    ASSERT_EQ(f.size(), 4) << n;
    EXPECT_EQ(f[0], "      " + QByteArray::number(n));
    EXPECT_EQ(f[2] + f[3], " 98.76\r");
    times.push_back(QDateTime::fromString(QString::fromLatin1(f[1]), "yyyy/MM/dd HH:mm:ss"));
  }
  EXPECT_TRUE(lines[4].isEmpty());
  EXPECT_GE(times[0], start);
  EXPECT_EQ(times[0].secsTo(times[1]), 2);
  EXPECT_EQ(times[1].secsTo(times[2]), 2);
  EXPECT_LE(times[2], end);
}

TEST(CliRecord, RefusalsAndFailures) {
  ScenarioFile s(kWattMeter);
  ScenarioFile noUnit(R"({"reading": "12.3", "unit": ""})");
  ScenarioFile silent(R"({"silent": true})");
  const QString path = s.file("never.pvd");
  ExpectFailures({
      {{noUnit.option(), "record", path}, 1, "shows no unit; nothing was recorded"},
      {{silent.option(), "record", path}, 1, "the meter is not answering"},
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
  EXPECT_FALSE(full.err.contains("QIODevice")) << "no library warnings for the user";
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
    EXPECT_EQ(ReadBytes(file + ".csv"),
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
