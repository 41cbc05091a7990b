// Load on the station's web page while it records and publishes: `solardesk-cli monitor
// --simulate --interval 1 --mqtt (a mosquitto of its own on the loopback address) --http PORT`
// gets REQUESTS_PER_SECOND page and API requests (default 500) for SECONDS (default 30) from 8
// keep-alive connections on the loopback address; a reader of the event stream and a subscriber
// of the broker note when each sample arrives. Prints the requests answered, their latency, how
// late each sample came on either way (arrival minus its sample time, which covers the file
// write before it) and whether the day file lost any sample. Exit status 1 when a sample was
// lost, missed the broker or came more than 100 ms late.
//
// Run: build/bench/solardesk_bench_station_web [REQUESTS_PER_SECOND [SECONDS]]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "support/LoopbackPort.h"

namespace {

using Steady = std::chrono::steady_clock;

// A connection to the page that sends each request at once and gives up a read after 5 s.
int Connect(int port) {
  const int fd = solardesk::testing::ConnectLoopback(port);
  if (fd < 0) return -1;
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  timeval t{5, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
  return fd;
}

// One request on a kept connection; false when the answer was not a whole 200.
bool Request(int fd, const QByteArray& path) {
  const QByteArray request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  if (::send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL) !=
      request.size())
    return false;
  QByteArray got;
  char buffer[65536];
  qsizetype headerEnd = -1;
  qint64 length = -1;
  for (;;) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    got.append(buffer, n);
    if (headerEnd < 0 && (headerEnd = got.indexOf("\r\n\r\n")) >= 0) {
      const qsizetype at = got.toLower().indexOf("content-length:");
      if (at < 0 || at > headerEnd) return false;
      length = got.mid(at + 15, got.indexOf('\r', at) - at - 15).trimmed().toLongLong();
    }
    if (headerEnd >= 0 && got.size() >= headerEnd + 4 + length) break;
  }
  return got.startsWith("HTTP/1.1 200");
}

// The sample times of the messages in `lines` ("ARRIVAL_UNIX_SECONDS PAYLOAD", as mosquitto_sub
// -F '%U %p' prints them) taken at or after `from`, and how late each arrived, in ms.
std::vector<double> LateOnBroker(const QByteArray& lines, const QDateTime& from, int* count) {
  std::vector<double> late;
  for (const QByteArray& line : lines.split('\n')) {
    const qsizetype space = line.indexOf(' ');
    if (space < 0) continue;
    const double arrived = line.left(space).toDouble();
    const QDateTime due = QDateTime::fromString(
        QJsonDocument::fromJson(line.mid(space + 1)).object().value("time").toString(),
        Qt::ISODate);
    if (!due.isValid() || due < from) continue;
    late.push_back(arrived * 1000.0 - static_cast<double>(due.toMSecsSinceEpoch()));
  }
  *count = static_cast<int>(late.size());
  return late;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rate = argc > 1 ? std::max(1, atoi(argv[1])) : 500;
  const int seconds = argc > 2 ? std::clamp(atoi(argv[2]), 1, 600) : 30;
  constexpr int kClients = 8;

  QTemporaryDir dir;
  // The broker, and a subscriber that stamps each sample as it arrives.
  const int brokerPort = solardesk::testing::FreePort();
  const passwd* user = ::getpwuid(::getuid());
  QFile config(dir.filePath("mosquitto.conf"));
  if (!config.open(QIODevice::WriteOnly) ||
      config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n"
                                  "persistence false\n%2")
                       .arg(brokerPort)
                       .arg(user ? QStringLiteral("user %1\n").arg(user->pw_name) : QString())
                       .toLatin1()) < 0)
    return 2;
  config.close();
  QProcess broker, subscriber;
  broker.start(QStringLiteral("mosquitto"), {"-c", config.fileName()});
  int probe = -1;
  for (int i = 0; i < 50 && (probe = Connect(brokerPort)) < 0; ++i) QThread::msleep(100);
  if (probe < 0) {
    std::fprintf(stderr, "mosquitto does not start\n");
    return 2;
  }
  ::close(probe);
  subscriber.start(QStringLiteral("mosquitto_sub"),
                   {"-h", "127.0.0.1", "-p", QString::number(brokerPort), "-q", "1", "-t",
                    "solardesk/+/state", "-F", "%U %p"});
  subscriber.waitForStarted(5000);

  const int port = solardesk::testing::FreePort();
  QProcess monitor;
  monitor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  monitor.start(QStringLiteral(SOLARDESK_CLI),
                {"--simulate", "monitor", dir.filePath("data"), "--interval", "1", "--mqtt",
                 QStringLiteral("mqtt://127.0.0.1:%1").arg(brokerPort), "--name", "bench", "--http",
                 QString::number(port), "--site", "48.2,16.37,180"});
  for (int i = 0; i < 100 && (probe = Connect(port)) < 0; ++i) QThread::msleep(100);
  if (probe < 0) {
    std::fprintf(stderr, "the monitor does not serve\n");
    return 2;
  }
  ::close(probe);
  // Publishing: the load starts once the samples reach the subscriber.
  if (!subscriber.waitForReadyRead(15000)) {
    std::fprintf(stderr, "no sample reaches the broker\n");
    return 2;
  }
  const QDateTime loadFrom = QDateTime::currentDateTime();

  std::atomic<bool> stop{false};
  // The event stream: when each sample arrives, against its sample time.
  std::mutex lateMutex;
  std::vector<double> lateMs;
  std::thread events([&] {
    const int fd = Connect(port);
    const QByteArray request = "GET /api/events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    ::send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL);
    QByteArray pending;
    char buffer[4096];
    bool first = true;  // the last sample, sent on connecting, is not timed
    while (!stop) {
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) continue;
      const QDateTime arrived = QDateTime::currentDateTime();
      pending.append(buffer, n);
      for (qsizetype at; (at = pending.indexOf("data: {\"time\": \"")) >= 0;) {
        const qsizetype end = pending.indexOf('"', at + 16);
        if (end < 0) break;
        const QDateTime due = QDateTime::fromString(
            QString::fromLatin1(pending.mid(at + 16, end - at - 16)), Qt::ISODate);
        pending.remove(0, end);
        if (first) {
          first = false;
          continue;
        }
        const std::lock_guard<std::mutex> lock(lateMutex);
        lateMs.push_back(static_cast<double>(due.msecsTo(arrived)));
      }
    }
    ::close(fd);
  });

  const QString today = QDate::currentDate().toString(u"yyyy-MM-dd");
  const std::vector<QByteArray> paths{"/",
                                      "/app.js",
                                      "/style.css",
                                      "/api/state",
                                      "/api/days",
                                      "/api/day/" + today.toLatin1(),
                                      "/lib/dygraph.min.js",
                                      "/api/state"};
  std::atomic<long long> answered{0}, failed{0};
  std::mutex latencyMutex;
  std::vector<double> latencies;
  std::vector<std::thread> clients;
  const auto start = Steady::now();
  const auto period = std::chrono::microseconds(1000000LL * kClients / rate);
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      int fd = Connect(port);
      std::vector<double> mine;
      auto next = start + period * c / kClients;
      for (long long i = c; Steady::now() - start < std::chrono::seconds(seconds); ++i) {
        std::this_thread::sleep_until(next);
        next += period;
        const auto sent = Steady::now();
        if (fd < 0 || !Request(fd, paths[static_cast<std::size_t>(i) % paths.size()])) {
          ++failed;
          if (fd >= 0) ::close(fd);
          fd = Connect(port);
          continue;
        }
        ++answered;
        mine.push_back(std::chrono::duration<double, std::milli>(Steady::now() - sent).count());
      }
      if (fd >= 0) ::close(fd);
      const std::lock_guard<std::mutex> lock(latencyMutex);
      latencies.insert(latencies.end(), mine.begin(), mine.end());
    });
  }
  for (auto& t : clients) t.join();
  const double elapsed = std::chrono::duration<double>(Steady::now() - start).count();
  QThread::msleep(1500);
  stop = true;
  monitor.terminate();
  monitor.waitForFinished(5000);
  events.join();
  subscriber.terminate();
  subscriber.waitForFinished(5000);
  broker.terminate();
  broker.waitForFinished(5000);
  int published = 0;
  std::vector<double> brokerLateMs =
      LateOnBroker(subscriber.readAllStandardOutput(), loadFrom, &published);

  // The day file: consecutive numbers, one second apart.
  int lost = 0, records = 0;
  QDateTime previous;
  int previousNumber = 0;
  QFile file(dir.filePath("data/" + today + ".pvd"));
  file.open(QIODevice::ReadOnly);
  file.readLine();
  while (!file.atEnd()) {
    const QList<QByteArray> f = file.readLine().split('\t');
    if (f.size() < 3) continue;
    const int number = f[0].trimmed().toInt();
    const QDateTime t = QDateTime::fromString(QString::fromLatin1(f[1]), "yyyy/MM/dd HH:mm:ss");
    if (records > 0 && (number != previousNumber + 1 || previous.secsTo(t) != 1)) ++lost;
    previous = t;
    previousNumber = number;
    ++records;
  }

  std::sort(latencies.begin(), latencies.end());
  std::sort(lateMs.begin(), lateMs.end());
  std::sort(brokerLateMs.begin(), brokerLateMs.end());
  const auto at = [](const std::vector<double>& v, double q) {
    return v.empty() ? 0.0 : v[std::min(v.size() - 1, static_cast<std::size_t>(q * v.size()))];
  };
  std::printf("requests: %lld answered, %lld failed in %.1f s (%.0f/s)\n", answered.load(),
              failed.load(), elapsed, answered / elapsed);
  std::printf("request latency ms: median %.2f, p99 %.2f, max %.2f\n", at(latencies, 0.5),
              at(latencies, 0.99), latencies.empty() ? 0.0 : latencies.back());
  std::printf(
      "samples: %d in the file, %d gaps; %zu timed on the event stream, late ms: median "
      "%.0f, p99 %.0f, max %.0f\n",
      records, lost, lateMs.size(), at(lateMs, 0.5), at(lateMs, 0.99),
      lateMs.empty() ? 0.0 : lateMs.back());
  // Every sample from the load's start on, but the last one or two (published after the
  // subscriber stopped), reached the broker.
  std::printf(
      "on the broker: %d samples from the load's start, late ms: median %.0f, p99 %.0f, "
      "max %.0f\n",
      published, at(brokerLateMs, 0.5), at(brokerLateMs, 0.99),
      brokerLateMs.empty() ? 0.0 : brokerLateMs.back());
  const bool ok = lost == 0 && records >= seconds && !lateMs.empty() && lateMs.back() <= 100 &&
                  published >= seconds && brokerLateMs.back() <= 100;
  std::printf("%s\n", ok ? "no sample lost or late" : "FAILED: a sample lost or late");
  return ok ? 0 : 1;
}
