#include <gtest/gtest.h>

#include "CliProcess.h"

namespace solardesk::testing {
namespace {

const QByteArray kTwoSets = R"({"logger": {"capacity_kb": 1000000, "free_kb": 341400, "sets": [
  {"start": "26/12/03 10:00:00", "interval": "000000060", "unit": "W/m2     ",
   "readings": ["123.4", " 98.7", "  0.5"]},
  {"start": "12/12/31 23:59:30", "interval": "000000060", "unit": "btu      ",
   "readings": ["111.1", "222.2"]},
  {"start": "26/12/04 09:30:00", "length": 100, "stream_hex": "01 02 03"}]}})";

// A logger with `count` empty record sets, capacity A and free space B.
QByteArray LoggerWith(int count, int capacityKb, int freeKb) {
  QByteArray sets;
  for (int i = 0; i < count; ++i) {
    if (i > 0) sets += ',';
    sets += R"({"start": "26/12/01 08:00:00", "length": 0, "stream_hex": ""})";
  }
  return QStringLiteral(R"({"logger": {"capacity_kb": %1, "free_kb": %2, "sets": [%3]}})")
      .arg(capacityKb)
      .arg(freeKb)
      .arg(QString::fromLatin1(sets))
      .toLatin1();
}

// How the used share is worked out is CapacityFor's table (tests/logger); 65.86 % shows its
// whole part, not rounded.
TEST(CliLogger, ListShowsCapacityUsedShareAndEverySet) {
  ScenarioFile s(kTwoSets);
  const CliRun r = RunCli({s.option(), "logger", "list"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(QRegularExpression("^Capacity : 976 MB\nUsed : 65 %\n1\t26/12/03 10:00:00\t\\d+\n"
                                 "2\t12/12/31 23:59:30\t\\d+\n3\t26/12/04 09:30:00\t100\n$")
                  .match(r.out)
                  .hasMatch())
      << r.out.toStdString();
}

// When a logger holds no data is the Logger window's table (tests/logger).
TEST(CliLogger, AnEmptyLoggerHasNoData) {
  ScenarioFile s(LoggerWith(0, 2000000, 1000000));
  ExpectFailures({{{"logger", "list"}, 1, "No Data in Memory!"},
                  {{"logger", "download", "1"}, 1, "No Data in Memory!"}},
                 {s.option()});
}

TEST(CliLogger, DownloadWritesTheDataListAsItsSaveDoes) {
  ScenarioFile s(kTwoSets);
  const QByteArray first =
      "      No.s\t            Date Time\t         W/(M)2\t\r\n"
      "         1\t  26/12/03 10:00:00\t 123.4\t\r\n"
      "         2\t  26/12/03 10:01:00\t  98.7\t\r\n"
      "         3\t  26/12/03 10:02:00\t   0.5\t\r\n";
  const CliRun r = RunCli({s.option(), "logger", "download", "1"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out.toLatin1(), first);

  // The second set has no capital W in its unit and runs over the year.
  const QString file = s.file("set2.pvd");
  ASSERT_EQ(RunCli({s.option(), "logger", "download", "2", "-o", file}).exitCode, 0);
  EXPECT_EQ(ReadBytes(file),
            "      No.s\t            Date Time\t    Btu/(ft)2.h\t\r\n"
            "         1\t  12/12/31 23:59:30\t 111.1\t\r\n"
            "         2\t  13/01/01 00:00:30\t 222.2\t\r\n");
}

TEST(CliLogger, DownloadFailures) {
  ScenarioFile s(kTwoSets);
  const QStringList download{s.option(), "logger", "download"};
  ExpectFailures({
      {download + QStringList{"0"}, 1, "no record set 0"},
      {download + QStringList{"4"}, 1, "no record set 4; the logger holds sets 1 to 3"},
      {download + QStringList{"3"}, 1, "no readable data"},  // 100 bytes: no unit field
      {download + QStringList{"one"}, 2, "not a set number"},
      {download, 2, "usage: logger download K [-o FILE]"},
      {download + QStringList{"1", "-o"}, 2, "-o needs a value"},
      {download + QStringList{"1", "-o", "/no/such/folder/set.pvd"}, 1, "cannot write"},
  });
}

TEST(CliLogger, EraseNeedsYes) {
  ScenarioFile s(kTwoSets);
  const QString trace = s.file("trace.txt");
  const CliRun refused = RunCli({s.option(), "--trace", trace, "logger", "erase"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_TRUE(refused.err.contains("--yes"));
  EXPECT_TRUE(WrittenReports(trace).empty());

  const CliRun erased = RunCli({s.option(), "--trace", trace, "logger", "erase", "--yes"});
  EXPECT_EQ(erased.exitCode, 0) << erased.err.toStdString();
  EXPECT_TRUE(erased.out.isEmpty());
  const auto reports = WrittenReports(trace);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(Hex(reports[0].first(3)), "00 01 10");
}

TEST(CliKeys, EveryKeySendsItsCode) {
  ScenarioFile s(kTwoSets);
  const QString trace = s.file("trace.txt");
  const std::pair<const char*, int> cases[] = {
      {"on-off", 0x11}, {"time", 0x01},        {"hold", 0x02},       {"mxmn", 0x03},
      {"set", 0x04},    {"power", 0x05},       {"unit", 0x06},       {"enter", 0x07},
      {"zero", 0x08},   {"mem", 0x09},         {"up", 0x0A},         {"down", 0x0B},
      {"read", 0x0C},   {"mxmn --long", 0x0D}, {"mem --long", 0x0E},
  };
  for (const auto& [args, code] : cases) {
    QFile::remove(trace);
    const CliRun r =
        RunCli(QStringList{s.option(), "--trace", trace, "key"} + QString(args).split(' '));
    EXPECT_EQ(r.exitCode, 0) << args << ": " << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    const auto reports = WrittenReports(trace);
    ASSERT_FALSE(reports.empty()) << args;
    EXPECT_EQ(Hex(reports.back().first(3)), Hex(QByteArray::fromHex("0001") + char(code))) << args;
    // Only MEM asks the meter for its set count first.
    const bool mem = QByteArray(args).startsWith("mem");
    EXPECT_EQ(reports.size(), mem ? 2u : 1u) << args;
    if (mem) {
      EXPECT_EQ(Hex(reports[0].first(3)), "00 02 06");
    }
  }
}

TEST(CliKeys, MemSendsNothingWhenTheLoggerHolds150Sets) {
  ScenarioFile s(LoggerWith(150, 2000000, 1000000));
  const QString trace = s.file("trace.txt");
  ExpectFailures({{{s.option(), "--trace", trace, "key", "mem"}, 1, "150 record sets"}});
  const auto reports = WrittenReports(trace);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(Hex(reports[0].first(3)), "00 02 06");
}

}  // namespace
}  // namespace solardesk::testing
