#pragma once

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace solardesk::testing {

// Runs solardesk-cli as a user would, as a process, and keeps what it printed.
struct CliRun {
  int exitCode = -1;
  QString out;
  QString err;
};

inline CliRun RunCli(const QStringList& args, int timeoutMs = 30000) {
  QProcess p;
  p.start(QStringLiteral(SOLARDESK_CLI), args);
  p.waitForFinished(timeoutMs);
  CliRun r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromLatin1(p.readAllStandardOutput());
  r.err = QString::fromLatin1(p.readAllStandardError());
  return r;
}

// A scenario file in a temporary folder.
class ScenarioFile {
 public:
  explicit ScenarioFile(const QByteArray& json) {
    path_ = dir_.filePath(QStringLiteral("scenario.json"));
    QFile f(path_);
    f.open(QIODevice::WriteOnly);
    f.write(json);
  }
  QString option() const { return QStringLiteral("--simulate=") + path_; }
  QString folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString path_;
};

}  // namespace solardesk::testing
