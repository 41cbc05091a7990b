// The station's MQTT backlog on the manual clock: the station records at 1 s while the broker
// is away for OUTAGE_SECONDS of simulated time (default a day, 86400), then the broker comes
// back and the publisher reads the outage back from the day files at its catch-up rate while
// new samples go on. The broker is an in-process client that takes and acknowledges every
// message at once. Prints the resident memory after the outage and at its highest, the
// simulated and the wall-clock time of the catch-up, and how late the new samples went out
// meanwhile. Exit status 1 when a sample was lost or sent twice, or a new sample waited more
// than an interval.
//
// Run: build/bench/solardesk_bench_station_backlog [OUTAGE_SECONDS]
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

#include "ProcessMemory.h"
#include "core/Clock.h"
#include "station/MqttPublisher.h"
#include "station/Station.h"

namespace {

using namespace solardesk;
using namespace solardesk::station;

// A broker that is reachable or not as the bench says, and acknowledges everything at once. It
// notes each record it got in a bit per record, so that its own bookkeeping stays small beside
// the station's memory.
struct Broker {
  bool up = true;
  const Clock* clock = nullptr;
  std::map<QString, std::vector<bool>> got;  // per day file, by record number
  bool twice = false;
  // Records to watch: when each was taken.
  std::map<RecordPosition, QDateTime>* watched = nullptr;
  qint64 worstMs = 0;
  void Got(const RecordPosition& at) {
    std::vector<bool>& bits = got[at.file];
    if (bits.size() <= static_cast<std::size_t>(at.record)) bits.resize(at.record + 1);
    if (bits[at.record] && !twice) {
      std::printf("sent twice: %s %lld\n", qPrintable(at.file), at.record);
      twice = true;
    }
    bits[at.record] = true;
    if (const auto t = watched->find(at); t != watched->end())
      worstMs = std::max(worstMs, t->second.msecsTo(clock->now()));
  }
};

class BenchClient final : public MqttClient {
 public:
  explicit BenchClient(Broker& b) : b_(b) {}
  bool Connect(QString* why) override {
    if (!b_.up) *why = QStringLiteral("not reachable: Connection refused");
    connected_ = b_.up;
    return b_.up;
  }
  bool Service(int, QString* why) override {
    if (b_.up || !connected_) return true;
    connected_ = false;
    *why = QStringLiteral("connection lost");
    return false;
  }
  bool Connected() const override { return connected_; }
  std::optional<int> Publish(const OutgoingMessage& m) override {
    if (!connected_) return std::nullopt;
    if (m.source.InFile()) b_.Got(m.source);
    ids_.push_back(++last_);
    return last_;
  }
  std::vector<int> TakeAcknowledged() override { return std::exchange(ids_, {}); }
  void Disconnect() override { connected_ = false; }

 private:
  Broker& b_;
  bool connected_ = false;
  int last_ = 0;
  std::vector<int> ids_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const long outage = argc > 1 ? std::atol(argv[1]) : 86400;
  QTemporaryDir dir;
  // Midnight of the simulated day: a day's outage fills one day file.
  ManualClock clock(QDateTime(QDate(2026, 12, 6), QTime(0, 0, 0))
                        .addSecs(qEnvironmentVariableIntValue("BENCH_START_OFFSET")));
  std::map<RecordPosition, QDateTime> taken;  // sample times of the samples after the outage
  Broker broker;
  broker.clock = &clock;
  broker.watched = &taken;
  QStringList events;
  const auto sink = [&](const QString& e) { events << e; };
  MqttSettings settings{{{false, {}, "127.0.0.1", 1883, "bench"}, {}, {}},
                        {"bench", "bench", "bench", 1},
                        PublishQueue::kDefaultCapacity,
                        dir.path(),
                        500};
  MqttPublisher publisher(settings, sink, clock, std::make_unique<BenchClient>(broker));
  DayFiles files(dir.path(), sink);
  Station station(files, sink, [&](const Sample& s) { publisher.Publish(s); });
  long long recorded = 0;
  // One simulated second: a sample, then the publisher's thread turning every 50 ms (while the
  // broker is away) or every 10 ms (acknowledgements keep it busy).
  const auto second = [&](bool note) {
    const int turns = broker.up ? 100 : 20;
    const std::optional<Sample> s =
        station.Take(clock.now(), {MeterState::Answering, QStringLiteral("523.4"), "W/(M)2"});
    if (s && s->record) {
      ++recorded;
      if (note) taken[RecordPosition{s->file, *s->record}] = s->time;
    }
    for (int t = 0; t < turns; ++t) {
      publisher.Turn(0);
      clock.advanceMs(1000 / turns);
    }
  };
  for (int i = 0; i < 10; ++i) second(false);
  broker.up = false;
  const auto outageStart = std::chrono::steady_clock::now();
  for (long i = 0; i < outage; ++i) second(false);
  const double outageWall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - outageStart).count();
  const long rssAfterOutage = StatusKb("VmRSS");
  const std::size_t waitingAfterOutage = publisher.Waiting();
  broker.up = true;
  // The publisher tries again at most a minute after its last attempt.
  long reconnect = 0;
  while (!publisher.Connected() && reconnect < 120) {
    second(false);
    ++reconnect;
  }
  const std::size_t waitingAtConnection = publisher.Waiting();
  const auto start = std::chrono::steady_clock::now();
  long simulated = 0;
  while (publisher.Waiting() > 1 && simulated < 10 * outage + 600) {
    second(true);
    ++simulated;
  }
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (int i = 0; i < 3; ++i) second(true);
  publisher.Turn(0);

  // Every record once; the new samples no later than an interval after their time.
  const bool twice = broker.twice;
  const qint64 worstMs = broker.worstMs;
  long long seen = 0;
  for (const auto& [file, bits] : broker.got) seen += std::count(bits.begin(), bits.end(), true);
  const bool lost = seen != recorded;
  std::printf("outage: %ld s simulated at 1 s, %zu samples waiting, recorded in %.1f s\n", outage,
              waitingAfterOutage, outageWall);
  std::printf("resident memory after the outage: %.1f MB, highest: %.1f MB\n",
              rssAfterOutage / 1024.0, StatusKb("VmHWM") / 1024.0);
  std::printf("broker reached again %ld s after it came back, %zu samples waiting\n", reconnect,
              waitingAtConnection);
  std::printf("catch-up: %ld s simulated (%.0f samples/s), %.1f s wall clock\n", simulated,
              simulated > 0 ? double(waitingAtConnection) / double(simulated) : 0.0, wall);
  std::printf("new samples during the catch-up: %zu, latest sent %lld ms after its time\n",
              taken.size(), worstMs);
  std::printf("records sent: %lld of %lld%s%s\n", seen, recorded, lost ? ", some LOST" : "",
              twice ? ", some TWICE" : "");
  return lost || twice || worstMs > 1000 ? 1 : 0;
}
