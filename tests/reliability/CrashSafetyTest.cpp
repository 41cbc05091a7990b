#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>
#include <random>

#include "DataFileShape.h"
#include "app/CliProcess.h"

namespace solardesk::testing {
namespace {

// Complete lines (ending in LF) of a file as it is now.
QList<QByteArray> CompleteLines(const QString& path) {
  QByteArray all = ReadBytes(path);
  const qsizetype end = all.lastIndexOf('\n');
  all.truncate(end + 1);
  QList<QByteArray> lines = all.split('\n');
  if (!lines.isEmpty()) lines.removeLast();
  return lines;
}

// solardesk-cli records; at a random moment it is killed with SIGKILL. Every line that had
// reached the file while it ran (the samples whose tick completed) is still there afterwards,
// and no line is cut short but possibly the last. Stopped with SIGTERM instead (the last round),
// it ends with exit code 0 and a whole last line.
TEST(CrashSafety, RecordingStoppedAtRandomKeepsEverySampleWritten) {
  ScenarioFile scenario(R"({"reading": "742.5", "unit": "W/(M)2"})");
  std::mt19937 random(4242);
  for (int round = 0; round < 4; ++round) {
    const QString path = scenario.folder() + QStringLiteral("/killed-%1.pvd").arg(round);
    QProcess p;
    StartCli(p, {scenario.option(), "record", path, "--interval", "1"});
    ASSERT_TRUE(p.waitForStarted());
    // Wait until some samples are in the file, then a little more, to kill at any moment of
    // the recording cycle.
    const int wanted = 1 + static_cast<int>(random() % 3);
    WaitFor([&] { return CompleteLines(path).size() >= 1 + wanted; }, 20000);
    QThread::msleep(random() % 1000);
    const QList<QByteArray> seen = CompleteLines(path);
    const bool terminated = round == 3;
    if (terminated) {
      p.terminate();
    } else {
      p.kill();  // SIGKILL: no handler runs
    }
    ASSERT_TRUE(p.waitForFinished());
    if (terminated) {
      EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }

    ASSERT_GE(seen.size(), 1 + wanted) << "the recording did not start";
    const QList<QByteArray> after = CompleteLines(path);
    ASSERT_GE(after.size(), seen.size());
    for (qsizetype i = 0; i < seen.size(); ++i) EXPECT_EQ(after[i], seen[i]) << "line " << i + 1;
    int records = 0;
    EXPECT_EQ(DataFileFault(path, !terminated, &records), QString());
    EXPECT_GE(records, wanted);
  }
}

}  // namespace
}  // namespace solardesk::testing
