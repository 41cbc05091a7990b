#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "CliProcess.h"

namespace solardesk::testing {

// A free TCP port on 127.0.0.1, as the system hands one out.
inline int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
  ::close(fd);
  return ntohs(a.sin_port);
}

inline bool Listening(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(fd);
  return ok;
}

// A mosquitto broker of the test's own on 127.0.0.1, configured in a temporary folder, without
// persistence; stopped (and started again) by its process ID.
class MqttBroker {
 public:
  MqttBroker() : port_(FreePort()) {
    config_ = dir_.filePath("mosquitto.conf");
    WriteBytes(config_,
               QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\n")
                   .arg(port_)
                   .toLatin1());
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
  QString url() const { return QStringLiteral("mqtt://127.0.0.1:%1").arg(port_); }

  // mosquitto_sub on `topics`, printing "RETAINED TOPIC PAYLOAD" per message, as a process.
  void Subscribe(QProcess& sub, const QStringList& topics, const QStringList& more = {}) const {
    QStringList args{"-h", "127.0.0.1", "-p", QString::number(port_), "-q", "1", "-F", "%r %t %p"};
    for (const QString& t : topics) args << "-t" << t;
    sub.start(QStringLiteral("mosquitto_sub"), args + more);
    sub.waitForStarted(5000);
    QThread::msleep(300);  // until it has subscribed
  }

 private:
  QTemporaryDir dir_;
  QString config_;
  int port_;
  QProcess broker_;
};

}  // namespace solardesk::testing
