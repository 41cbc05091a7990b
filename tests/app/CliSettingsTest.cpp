#include <gtest/gtest.h>

#include <QDateTime>

#include "CliProcess.h"

namespace solardesk::testing {
namespace {

const QByteArray kSettingsMeter = R"({"clock": "26/12/04 10:20:30", "interval": 45,
  "calibration": 1234, "reservation": [26, 12, 5, 8, 0, 0, 26, 112, 5, 17, 30, 0],
  "cycling": [6, 0, 0, 18, 45, 9]})";

TEST(CliSettings, ShowPrintsWhatTheMeterHolds) {
  ScenarioFile s(kSettingsMeter);
  const std::pair<QStringList, const char*> cases[] = {
      // The meter clock runs on from the scenario's time while the program starts.
      {{"clock", "show"}, "^26/12/04 10:20:3[01]\n$"},
      {{"interval", "show"}, "^45\n$"},
      {{"calibration", "show"}, "^1234\n$"},
      // Each field as its list shows it: two digits, 112 cut to "12".
      {{"reservation", "show"}, "^26 12 05 08 00 00 26 12 05 17 30 00\n$"},
      {{"cycling", "show"}, "^06 00 00 18 45 09\n$"},
  };
  for (const auto& [command, pattern] : cases) {
    const CliRun r = RunCli(QStringList{s.option()} + command);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QRegularExpression(pattern).match(r.out).hasMatch())
        << command.join(' ').toStdString() << ": " << r.out.toStdString();
  }
}

TEST(CliSettings, SetSendsOneReportWithTheValueBytes) {
  ScenarioFile s(kSettingsMeter);
  const QString trace = s.file("trace.txt");
  // Each command line, what it prints and the start of the one report it writes, in hex. How
  // entries are rounded, limited and encoded is the setup and interval logic's tables.
  const std::tuple<QStringList, const char*, const char*> cases[] = {
      {{"calibration", "set", "12345"}, "9999\n", "0001130F27"},
      {{"interval", "set", "75"}, "60\n", "00010F3C"},
      {{"reservation", "set", "26", "12", "5", "8", "0", "0", "26", "12", "5", "17", "30", "0"},
       "",
       "0001151A0C050800001A0C05111E00"},
      {{"cycling", "set", "6", "0", "0", "23", "59", "59"}, "", "000114060000173B3B"},
  };
  for (const auto& [command, printed, sent] : cases) {
    QFile::remove(trace);
    const CliRun r = RunCli(QStringList{s.option(), "--trace", trace} + command);
    const std::string what = command.join(' ').toStdString();
    EXPECT_EQ(r.exitCode, 0) << what << ": " << r.err.toStdString();
    EXPECT_EQ(r.out, printed) << what;
    const auto reports = WrittenReports(trace);
    ASSERT_EQ(reports.size(), 1u) << what;
    const QByteArray bytes = QByteArray::fromHex(sent);
    EXPECT_EQ(Hex(reports[0].first(bytes.size())), Hex(bytes)) << what;
    EXPECT_EQ(reports[0].size(), 65) << what;
  }
}

TEST(CliSettings, ClockSetSendsThePcLocalTimeAsPlainNumbers) {
  ScenarioFile s(kSettingsMeter);
  const QString trace = s.file("trace.txt");
  const QDateTime before = QDateTime::currentDateTime();
  const CliRun r = RunCli({s.option(), "--trace", trace, "clock", "set"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  // Printed as the clock window shows the PC clock; the sent bytes are those numbers themselves.
  const QRegularExpressionMatch m =
      QRegularExpression("^(\\d\\d)/(\\d\\d)/(\\d\\d) (\\d\\d):(\\d\\d):(\\d\\d)\n$").match(r.out);
  ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
  const QDateTime printed =
      QDateTime::fromString("20" + r.out.trimmed(), QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  EXPECT_LE(std::abs(before.secsTo(printed)), 5);
  QByteArray expected = QByteArray::fromHex("000112");
  for (int k = 1; k <= 6; ++k) expected += char(m.captured(k).toInt());
  const auto reports = WrittenReports(trace);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(Hex(reports[0].first(9)), Hex(expected));
}

TEST(CliSettings, BadValuesAreUsageErrorsAndSendNothing) {
  ScenarioFile s(kSettingsMeter);
  const QString trace = s.file("trace.txt");  // every run adds to it
  ExpectFailures({{{"interval", "set", "soon"}, 2, ""},
                  {{"interval", "set"}, 2, ""},
                  {{"interval", "set", "5", "6"}, 2, ""},
                  {{"interval", "show", "now"}, 2, ""},
                  {{"calibration", "set", "high"}, 2, ""},
                  {{"calibration", "set", ""}, 2, ""},
                  {{"clock", "set", "12:00"}, 2, ""},
                  {{"reservation", "set", "1", "2", "3"}, 2, ""},
                  {{"cycling"}, 2, ""},
                  {{"cycling", "change"}, 2, ""}},
                 {s.option(), "--trace", trace});
  EXPECT_TRUE(WrittenReports(trace).empty());
}

// Each field is checked as the set-up panel checks it, with the panel's message, before
// anything is written.
TEST(CliSettings, ScheduleFieldsOutsideTheirRangesAreRefusedAndNothingIsWritten) {
  ScenarioFile s(kSettingsMeter);
  const QString trace = s.file("trace.txt");  // every run adds to it
  const QStringList start = {"26", "12", "5", "8", "0", "0"};
  const QStringList stop = {"26", "12", "5", "17", "30", "0"};
  const QStringList morning = {"6", "0", "0"};
  ExpectFailures(
      {{QStringList{"cycling", "set", "99", "75", "0", "0", "0", "0"}, 2,
        "The start hour must be a number from 0 to 23."},
       {QStringList{"cycling", "set"} + morning + QStringList{"18", "60", "0"}, 2,
        "The stop minute must be a number from 0 to 59."},
       {QStringList{"cycling", "set"} + morning + QStringList{"18", "0", "256"}, 2,
        "The stop second must be a number from 0 to 59."},
       {QStringList{"cycling", "set"} + morning + QStringList{"18", "0", "-1"}, 2,
        "The stop second must be a number from 0 to 59."},
       {QStringList{"cycling", "set", "x"} + morning.mid(1) + morning, 2,
        "The start hour must be a number from 0 to 23."},
       {QStringList{"reservation", "set", "26", "13", "5", "8", "0", "0"} + stop, 2,
        "The start month must be a number from 1 to 12."},
       {QStringList{"reservation", "set", "26", "12", "0", "8", "0", "0"} + stop, 2,
        "The start date must be a number from 1 to 31."},
       {QStringList{"reservation", "set", "100", "12", "5", "8", "0", "0"} + stop, 2,
        "The start year must be a number from 0 to 99."},
       {QStringList{"reservation", "set"} + start + QStringList{"26", "12", "5", "24", "0", "0"}, 2,
        "The stop hour must be a number from 0 to 23."},
       {QStringList{"reservation", "set"} + start + QStringList{"26", "12", "5", "17", "0", "60"},
        2, "The stop second must be a number from 0 to 59."}},
      {s.option(), "--trace", trace});
  EXPECT_TRUE(WrittenReports(trace).empty());
  // A date its month does not have is not checked: 31 February is written.
  QFile::remove(trace);
  const CliRun r = RunCli(QStringList{s.option(), "--trace", trace, "reservation", "set", "26", "2",
                                      "31", "8", "0", "0"} +
                          stop);
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  ASSERT_EQ(WrittenReports(trace).size(), 1u);
  EXPECT_EQ(Hex(WrittenReports(trace)[0].first(6)), Hex(QByteArray::fromHex("0001151A021F")));
}

TEST(CliSettings, MeterProblemsExitWithOne) {
  ScenarioFile absent(R"({"absent": true})");
  ScenarioFile silent(R"({"silent": true})");
  const QList<QStringList> queries = {
      {"clock", "show"},           {"interval", "show"}, {"calibration", "show"},
      {"reservation", "show"},     {"cycling", "show"},  {"logger", "list"},
      {"logger", "download", "1"}, {"key", "mem"},
  };
  const QList<QStringList> writes = {
      {"clock", "set"}, {"interval", "set", "5"},     {"calibration", "set", "5"},
      {"key", "time"},  {"logger", "erase", "--yes"},
  };
  for (const QStringList& command : queries + writes) {
    const CliRun r = RunCli(QStringList{absent.option()} + command);
    EXPECT_EQ(r.exitCode, 1) << command.join(' ').toStdString();
    EXPECT_TRUE(r.err.startsWith("solardesk-cli: no meter found")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
  // A silent meter takes writes without a word; only a query shows that it is not answering,
  // in the words of the windows.
  for (const QStringList& command : queries) {
    const CliRun r = RunCli(QStringList{silent.option()} + command);
    EXPECT_EQ(r.exitCode, 1) << command.join(' ').toStdString();
    EXPECT_EQ(r.err, "solardesk-cli: the meter is not answering\n")
        << command.join(' ').toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
}

}  // namespace
}  // namespace solardesk::testing
