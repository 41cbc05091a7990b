#include <gtest/gtest.h>

#include <QDir>

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

// Meter problems exit with 1, usage errors and bad scenarios with 2.
TEST(Cli, FailuresSayWhyAndExitWithOneOrTwo) {
  ScenarioFile absent(R"({"absent": true})"), silent(R"({"silent": true})");
  ScenarioFile shortReports(R"({"input_report_length": 9})"), any("{}");
  ScenarioFile bad(R"({"unit": "lux"})");
  ExpectFailures({
      {{absent.option(), "read"}, 1, "no meter found"},
      {{silent.option(), "read"}, 1, "the meter is not answering"},
      {{shortReports.option(), "read"}, 1, "too short"},
      {{any.option(), "--vid", "484", "read"}, 1, "vendor 484"},  // a meter with other ids
      {{"--simulate"}, 2, ""},
      {{"--simulate", "dance"}, 2, ""},
      {{"--simulate", "--colour", "read"}, 2, ""},
      {{"--simulate", "read", "extra"}, 2, ""},
      {{"--simulate", "watch", "--count", "zero"}, 2, ""},
      {{"--simulate", "--vid"}, 2, ""},
      {{bad.option(), "read"}, 2, "unit:"},
      {{"--simulate=/no/such/file.json", "read"}, 2, ""},
      {{"--simulate", "key", "esc"}, 2, ""},
      {{"--simulate", "key"}, 2, ""},
      {{"--simulate", "key", "mem", "twice"}, 2, ""},
  });
}

TEST(Cli, TraceKeepsEveryReportBothWays) {
  ScenarioFile s(R"({"reading": "1.000"})");
  const QString trace = s.file("trace.txt");
  ASSERT_EQ(RunCli({s.option(), "--trace", trace, "read"}).exitCode, 0);
  const QStringList lines = QString::fromLatin1(ReadBytes(trace)).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].contains(" > 00 02 01 00")) << lines[0].toStdString();
  EXPECT_TRUE(lines[1].contains(" < 00 ")) << lines[1].toStdString();
  EXPECT_EQ(lines[0].count(' '), 2 + 65);  // date, time, mark, then 65 bytes
}

TEST(Cli, HelpVersionAndEveryExampleScenario) {
  EXPECT_TRUE(RunCli({"--help"}).out.contains("Usage: solardesk-cli"));
  EXPECT_TRUE(RunCli({"--version"}).out.startsWith("solardesk-cli "));
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
