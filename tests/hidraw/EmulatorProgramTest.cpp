// solardesk-hidraw-emulator as a user runs it: a program on the emulated meter, the scenario's
// timeline played under it, and the program ended with the emulator.
#include <signal.h>

#include <QProcess>
#include <QTemporaryFile>
#include <cerrno>

#include "EmulatedMeterTest.h"

namespace solardesk::testing {
namespace {

class EmulatorProgramTest : public EmulatedMeterTest {
 protected:
  void Start(const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    emulator.setProcessEnvironment(env);
    emulator.start(SOLARDESK_HIDRAW_EMULATOR, arguments);
    ASSERT_TRUE(emulator.waitForStarted());
  }

  QProcess emulator;
};

TEST_F(EmulatorProgramTest, TheTimelineUnplugsChangesAndSilencesTheMeterAsTheProgramRuns) {
  QTemporaryFile scenario;
  ASSERT_TRUE(scenario.open());
  scenario.write(R"({"reading": "98.76", "unit": "W/(M)2", "timeline": [
      {"after": 1.5, "unit": "Btu/(ft)2.h", "reading": "31.3"},
      {"after": 3, "silent": true}, {"after": 6, "absent": true}]})");
  scenario.close();
  // The meter read again and again; each answer printed when it differs from the one before.
  const QString readings = QStringLiteral(
      "last=; while :; do r=$(\"$0\" read 2>&1); [ \"$r\" = \"$last\" ] || echo \"$r\"; "
      "last=$r; case $r in *'no meter'*) break;; esac; sleep 0.1; done");
  Start({"--scenario", scenario.fileName(), "--", "sh", "-c", readings, SOLARDESK_CLI});
  ASSERT_TRUE(emulator.waitForFinished(60000));
  EXPECT_EQ(emulator.exitCode(), 0) << emulator.readAllStandardError().toStdString();
  EXPECT_EQ(emulator.readAllStandardOutput().toStdString(),
            "98.76\tW/(M)2\n"
            "31.3 \tBtu/(ft)2.h\n"
            "solardesk-cli: the meter is not answering\n"
            "solardesk-cli: no meter found (vendor 483, product 5750)\n");
}

TEST_F(EmulatorProgramTest, EndingTheEmulatorEndsItsProgram) {
  Start({"--", "sh", "-c", "echo $$; exec sleep 120"});
  ASSERT_TRUE(emulator.waitForReadyRead(30000));
  const pid_t program = emulator.readLine().trimmed().toInt();
  ASSERT_GT(program, 0);
  ASSERT_EQ(::kill(program, 0), 0);

  emulator.terminate();  // SIGTERM
  ASSERT_TRUE(emulator.waitForFinished(30000));
  EXPECT_EQ(emulator.exitCode(), 128 + SIGTERM);
  errno = 0;
  EXPECT_EQ(::kill(program, 0), -1) << "the program still runs";
  EXPECT_EQ(errno, ESRCH);
}

}  // namespace
}  // namespace solardesk::testing
