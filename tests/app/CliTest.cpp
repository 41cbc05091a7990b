#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "CliProcess.h"

namespace solardesk::testing {
namespace {

TEST(Cli, ReadPrintsTheReadingAndItsUnitAsShown) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"reading": "98.76", "unit": "W/(M)2"})", "98.76\tW/(M)2\n"},
      {R"({"reading": "-5.5", "unit": ""})", " 5.5 \t\n"},  // blank digits, no unit
  };
  for (const auto& [json, printed] : cases) {
    ScenarioFile s(json);
    const CliRun r = RunCli({s.option(), "read"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, printed);
    EXPECT_TRUE(r.err.isEmpty());
  }
}

TEST(Cli, WatchPrintsTheFirstAnswerWithItsTime) {
  ScenarioFile s(R"({"reading": "12.34", "unit": "Btu/(ft)2.h"})");
  const CliRun r = RunCli({s.option(), "watch", "--count", "1"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(QRegularExpression(
                  "^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\t12\\.34\tBtu/\\(ft\\)2\\.h\n$")
                  .match(r.out)
                  .hasMatch())
      << r.out.toStdString();
}

TEST(Cli, MeterProblemsExitWithOne) {
  const struct {
    const char* json;
    const char* vendor;
    const char* error;
  } cases[] = {
      {R"({"absent": true})", "483", "no meter found"},
      {R"({"silent": true})", "483", "does not answer"},
      {R"({"input_report_length": 9})", "483", "too short"},
      {"{}", "484", "vendor 484"},  // a meter with other ids is not found
  };
  for (const auto& c : cases) {
    ScenarioFile s(c.json);
    const CliRun r = RunCli({s.option(), "--vid", c.vendor, "read"});
    EXPECT_EQ(r.exitCode, 1) << c.error;
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("solardesk-cli: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(c.error)) << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
  }
}

TEST(Cli, UsageErrorsAndBadScenariosExitWithTwo) {
  ScenarioFile bad(R"({"unit": "lux"})");
  const QList<QStringList> cases = {
      {"--simulate"},
      {"--simulate", "dance"},
      {"--simulate", "--colour", "read"},
      {"--simulate", "read", "extra"},
      {"--simulate", "watch", "--count", "zero"},
      {"--simulate", "--vid"},
      {bad.option(), "read"},
      {"--simulate=/no/such/file.json", "read"},
  };
  for (const QStringList& args : cases) {
    const CliRun r = RunCli(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.startsWith("solardesk-cli: ")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
  EXPECT_TRUE(RunCli({bad.option(), "read"}).err.contains("unit:"));
}

TEST(Cli, TraceKeepsEveryReportBothWays) {
  ScenarioFile s(R"({"reading": "1.000"})");
  const QString trace = s.folder() + "/trace.txt";
  ASSERT_EQ(RunCli({s.option(), "--trace", trace, "read"}).exitCode, 0);
  QFile f(trace);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].contains(" > 00 02 01 00")) << lines[0].toStdString();
  EXPECT_TRUE(lines[1].contains(" < 00 ")) << lines[1].toStdString();
  EXPECT_EQ(lines[0].count(' '), 2 + 65);  // date, time, mark, then 65 bytes
}

TEST(Cli, HelpAndVersion) {
  EXPECT_TRUE(RunCli({"--help"}).out.contains("Usage: solardesk-cli"));
  EXPECT_TRUE(RunCli({"--version"}).out.startsWith("solardesk-cli "));
}

TEST(Cli, EveryExampleScenarioLoads) {
  const QDir examples(QStringLiteral(SOLARDESK_SOURCE_DIR "/docs/scenarios"));
  const QStringList files = examples.entryList({"*.json"});
  ASSERT_GE(files.size(), 3);
  for (const QString& f : files) {
    const CliRun r = RunCli({"--simulate=" + examples.filePath(f), "read"});
    EXPECT_NE(r.exitCode, 2) << f.toStdString() << ": " << r.err.toStdString();
  }
}

}  // namespace
}  // namespace solardesk::testing
