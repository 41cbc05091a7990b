#pragma once

#include <sys/vfs.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include "app/CliProcess.h"

namespace solardesk::testing {

// A folder served through solardesk-failing-disk, whose syncs (and flushes, when asked) fail
// while Failing(true) holds. The file system is served by a process of its own, never by the
// test: a process killed while it both uses and serves a FUSE mount would hang in the kernel.
class FailingDisk {
 public:
  // `failures`: the tool's options, "--sync-fails" and "--flush-fails".
  explicit FailingDisk(const QStringList& failures) {
    if (!QDir().mkpath(Backing()) || !QDir().mkpath(Mounted())) {
      problem_ = QStringLiteral("cannot make the folders in %1").arg(dir_.path());
      return;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("fusermount3")).isEmpty()) {
      problem_ = QStringLiteral("no fusermount3");
      return;
    }
    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.start(QStringLiteral(SOLARDESK_FAILING_DISK),
                  failures + QStringList{"--while", Switch(), Backing(), Mounted()});
    if (!server_.waitForStarted()) {
      problem_ = QStringLiteral("solardesk-failing-disk does not start");
      return;
    }
    WaitFor([this] { return IsMounted() || server_.state() == QProcess::NotRunning; }, 15000);
    if (!IsMounted()) {
      server_.waitForFinished(100);
      problem_ = QStringLiteral("no FUSE mount here: ") + server_.readAll();
    }
  }
  ~FailingDisk() {
    if (server_.state() == QProcess::NotRunning) return;
    // Lazily, so that a file the program under test still holds does not keep the mount.
    QProcess::execute(QStringLiteral("fusermount3"), {"-u", "-z", Mounted()});
    if (!server_.waitForFinished(10000)) {
      server_.kill();
      server_.waitForFinished(10000);
    }
  }
  FailingDisk(const FailingDisk&) = delete;
  FailingDisk& operator=(const FailingDisk&) = delete;

  // Why the disk could not be mounted; empty when it is.
  QString Problem() const { return problem_; }
  // A file on the failing disk, and the same file seen in the backing folder, past the disk.
  QString Path(const QString& name) const { return Mounted() + QLatin1Char('/') + name; }
  QString BackingPath(const QString& name) const { return Backing() + QLatin1Char('/') + name; }
  // Turns the failures on or off.
  void Failing(bool on) {
    if (on) {
      WriteBytes(Switch(), "on");
    } else {
      QFile::remove(Switch());
    }
  }

 private:
  QString Backing() const { return dir_.filePath(QStringLiteral("backing")); }
  QString Mounted() const { return dir_.filePath(QStringLiteral("disk")); }
  QString Switch() const { return dir_.filePath(QStringLiteral("failing")); }
  bool IsMounted() const {
    struct statfs st {};
    constexpr long kFuseMagic = 0x65735546;
    return ::statfs(QFile::encodeName(Mounted()).constData(), &st) == 0 &&
           static_cast<long>(st.f_type) == kFuseMagic;
  }

  QTemporaryDir dir_;
  QProcess server_;
  QString problem_;
};

}  // namespace solardesk::testing
