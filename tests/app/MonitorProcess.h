#pragma once

#include <QDate>
#include <QDateTime>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <vector>

#include "CliProcess.h"

namespace solardesk::testing {

// One record of a day file the monitor wrote.
struct FileRecord {
  int number;
  QDateTime time;
  QString value;
};

inline std::vector<FileRecord> Records(const QString& path) {
  std::vector<FileRecord> out;
  for (const QByteArray& line : ReadBytes(path).split('\n').mid(1)) {
    const QList<QByteArray> f = line.split('\t');
    if (f.size() >= 3)
      out.push_back({f[0].trimmed().toInt(), QDateTime::fromString(f[1], "yyyy/MM/dd HH:mm:ss"),
                     f[2].trimmed()});
  }
  return out;
}

// Today's day file in `dir`, or its part `part` (a later file of the same day).
inline QString DayFile(const QString& dir, int part = 0) {
  const QString day = QDate::currentDate().toString("yyyy-MM-dd");
  return dir + "/" + day + (part ? QStringLiteral("-%1").arg(part) : QString()) + ".pvd";
}

// Ends `p` as a service manager does (SIGTERM) and waits for it; whether it ended in time.
inline bool Stop(QProcess& p) {
  p.terminate();
  return p.waitForFinished(5000);
}

// A `solardesk-cli monitor` process of a test, ended when it goes. Its events (standard error)
// go to a file beside the scenario, so that the test can read them while it runs.
class Monitor {
 public:
  Monitor(const ScenarioFile& s, const QString& name) : events_(s.file(name + ".events")) {
    process_.setStandardErrorFile(events_);
  }
  ~Monitor() { Stop(); }
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  void Start(const QStringList& args, const QStringList& environment = {}) {
    StartCli(process_, args, environment);
  }
  bool Stop() { return solardesk::testing::Stop(process_); }
  void Kill() {
    ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
    process_.waitForFinished(5000);
  }
  QString Events() const { return QString::fromUtf8(ReadBytes(events_)); }
  // Whether it said `text` within `ms`.
  bool Says(const QString& text, int ms) {
    return WaitFor([&] { return Events().contains(text); }, ms);
  }

 private:
  QString events_;
  QProcess process_;
};

}  // namespace solardesk::testing
