#pragma once

#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "CliProcess.h"
#include "support/LoopbackPort.h"

namespace solardesk::testing {

inline bool Listening(int port) {
  const int fd = ConnectLoopback(port);
  if (fd >= 0) ::close(fd);
  return fd >= 0;
}

// A mosquitto broker of the test's own on 127.0.0.1, configured in a temporary folder, without
// persistence; stopped (and started again) by its process ID. `options` are the listener's
// settings: anonymous clients, unless the test sets others (TLS, logins).
class MqttBroker {
 public:
  explicit MqttBroker(const QByteArray& options = "allow_anonymous true\n") : port_(FreePort()) {
    config_ = dir_.filePath("mosquitto.conf");
    Configure(options);
  }
  // The settings from the next start on.
  void Configure(const QByteArray& options) {
    // Started by root, mosquitto would become another user, who cannot read the test's files.
    const QByteArray user = ::getpwuid(::getuid()) ? ::getpwuid(::getuid())->pw_name : "";
    WriteBytes(config_, QStringLiteral("listener %1 127.0.0.1\n").arg(port_).toLatin1() + options +
                            "persistence false\n" + (user.isEmpty() ? "" : "user " + user + "\n"));
  }
  ~MqttBroker() { Stop(); }

  // False when no mosquitto could be started (not installed).
  bool Start() {
    broker_.start(QStringLiteral("mosquitto"), {"-c", config_});
    if (!broker_.waitForStarted(5000)) return false;
    return WaitFor([this] { return Listening(port_); }, 5000);
  }
  void Stop() {
    if (broker_.state() == QProcess::NotRunning) return;
    ::kill(static_cast<pid_t>(broker_.processId()), SIGTERM);
    broker_.waitForFinished(5000);
  }
  int port() const { return port_; }
  QString url(const char* scheme = "mqtt") const {
    return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(port_);
  }

  // mosquitto_sub on `topics`, printing "RETAINED TOPIC PAYLOAD" per message, as a process.
  void Subscribe(QProcess& sub, const QStringList& topics, const QStringList& more = {}) const {
    QStringList args{"-h", "127.0.0.1", "-p", QString::number(port_), "-q", "1", "-F", "%r %t %p"};
    for (const QString& t : topics) args << "-t" << t;
    // A subscriber that counts its messages (-C) takes retained ones, which cannot be missed.
    const bool counted = more.contains(QStringLiteral("-C"));
    if (!counted) args << "-t" << kProbeTopic;
    sub.start(QStringLiteral("mosquitto_sub"), args + more);
    sub.waitForStarted(5000);
    if (counted) {
      QThread::msleep(300);
      return;
    }
    // Subscribed once a message of its own comes back, however slowly it started on a busy
    // machine: a fixed wait loses the first samples then.
    WaitFor(
        [&] {
          QProcess::execute(
              QStringLiteral("mosquitto_pub"),
              {"-h", "127.0.0.1", "-p", QString::number(port_), "-t", kProbeTopic, "-m", "ready"});
          sub.waitForReadyRead(200);
          return sub.peek(sub.bytesAvailable()).contains(kProbeTopic.toUtf8());
        },
        10000);
  }
  // The topic Subscribe makes sure of its subscription on; no test reads it.
  inline static const QString kProbeTopic = QStringLiteral("solardesk-test/subscribed");

 private:
  QTemporaryDir dir_;
  QString config_;
  int port_;
  QProcess broker_;
};

// A TCP listener on 127.0.0.1 that takes connections (the system completes them) and never says
// a word: a broker that hangs.
class SilentListener {
 public:
  // Not handed down to the processes the test starts, which would keep it listening.
  explicit SilentListener(int port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const int yes = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    listening_ =
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(fd_, 8) == 0;
  }
  ~SilentListener() { Close(); }
  bool listening() const { return listening_; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
  bool listening_ = false;
};

}  // namespace solardesk::testing
