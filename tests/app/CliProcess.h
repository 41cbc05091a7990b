#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <vector>

#include "support/FileBytes.h"

namespace solardesk::testing {

// Runs solardesk-cli as a user would, as a process, and keeps what it printed.
struct CliRun {
  int exitCode = -1;
  QString out;
  QString err;
};

// Central European time with its summer time, as a POSIX rule (no time zone files needed):
// +01:00 in winter, +02:00 in summer.
inline const QString kCentralEuropeTz = QStringLiteral("TZ=CET-1CEST,M3.5.0,M10.5.0/3");

// `environment` holds "NAME=value" entries added to the program's environment.
inline void StartCli(QProcess& p, const QStringList& args, const QStringList& environment = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& entry : environment)
    env.insert(entry.section('=', 0, 0), entry.section('=', 1));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(SOLARDESK_CLI), args);
}

inline CliRun RunCli(const QStringList& args, const QStringList& environment = {},
                     int timeoutMs = 30000) {
  QProcess p;
  StartCli(p, args, environment);
  p.waitForFinished(timeoutMs);
  CliRun r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromLatin1(p.readAllStandardOutput());
  r.err = QString::fromLatin1(p.readAllStandardError());
  return r;
}

// Waits, looking every 20 ms, until `done` holds or `ms` have passed; gives whether it holds.
inline bool WaitFor(const std::function<bool()>& done, int ms = 15000) {
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < ms) QThread::msleep(20);
  return done();
}

// A command line that fails: its exit code (1: the meter or a file, 2: usage) and a part of the
// one line it says, after "solardesk-cli: ", on stderr; it prints nothing on stdout. `prefix`
// goes before the arguments of every case.
struct CliFailure {
  QStringList args;
  int exitCode;
  const char* error;
};

inline void ExpectFailures(std::initializer_list<CliFailure> cases,
                           const QStringList& prefix = {}) {
  for (const CliFailure& c : cases) {
    const CliRun r = RunCli(prefix + c.args);
    const std::string what = c.args.join(' ').toStdString() + ": " + r.err.toStdString();
    EXPECT_EQ(r.exitCode, c.exitCode) << what;
    EXPECT_TRUE(r.err.startsWith("solardesk-cli: ") && r.err.contains(c.error)) << what;
    EXPECT_EQ(r.err.count('\n'), 1) << what;
    EXPECT_TRUE(r.out.isEmpty()) << what;
  }
}

// A meter that reads 98.76 W/m², and the heading of a data file in W/m², as the tests use them.
inline const QByteArray kWattMeter = R"({"reading": "98.76", "unit": "W/(M)2"})";
inline const QByteArray kWattFileHeader =
    "      No.s\t            Date Time\t         W/(M)2\t\r\n";

// A scenario file in a temporary folder, which also holds the files a test writes.
class ScenarioFile {
 public:
  explicit ScenarioFile(const QByteArray& json) : path_(write("scenario.json", json)) {}
  QString option() const { return QStringLiteral("--simulate=") + path_; }
  QString folder() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }
  // Writes `bytes` as a file of the folder; gives its path.
  QString write(const QString& name, const QByteArray& bytes) const {
    WriteBytes(file(name), bytes);
    return file(name);
  }

 private:
  QTemporaryDir dir_;
  QString path_;  // after the folder, which it is made in
};

// Writes a data file of the given lines, each ended by CR LF, beside the scenario; gives its path.
inline QString DataFile(const ScenarioFile& s, const QString& name,
                        const QList<QByteArray>& lines) {
  return s.write(name, lines.join("\r\n") + "\r\n");
}

// The output reports a trace file shows as written ("> 00 01 13 ..."), as bytes.
inline std::vector<QByteArray> WrittenReports(const QString& tracePath) {
  std::vector<QByteArray> reports;
  for (const QByteArray& line : ReadBytes(tracePath).split('\n')) {
    const qsizetype mark = line.indexOf(" > ");
    if (mark < 0) continue;
    QByteArray bytes;
    for (const QByteArray& hex : line.mid(mark + 3).split(' '))
      bytes += char(hex.toUInt(nullptr, 16));
    reports.push_back(bytes);
  }
  return reports;
}

// `bytes` as "00 01 13", to compare readably.
inline std::string Hex(const QByteArray& bytes) {
  return bytes.toHex(' ').toUpper().toStdString();
}

}  // namespace solardesk::testing
