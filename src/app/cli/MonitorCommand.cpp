#include "MonitorCommand.h"

#include <QDir>
#include <QSysInfo>
#include <csignal>
#include <memory>
#include <thread>

#include "IntervalOption.h"
#include "station/DayFiles.h"
#include "station/MeterPoller.h"
#include "station/MqttPublisher.h"
#include "station/SampleScheduler.h"
#include "station/Station.h"

namespace solardesk::cli {

using namespace station;

namespace {

std::atomic<bool> reopenRequested{false};

void RequestReopen(int) {
  reopenRequested = true;
}

// The longest the station sleeps between looks at the meter and the broker.
constexpr std::chrono::milliseconds kNap{50};
// How long a clean stop gives the waiting samples to reach the broker.
constexpr int kStopWaitMs = 2000;

// The station's name when --name gives none: the host name.
QString StationName() {
  const QString host = QSysInfo::machineHostName();
  return host.isEmpty() ? QStringLiteral("station") : host;
}

}  // namespace

int RunMonitor(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const std::optional<QString> intervalText = a.Value(QStringLiteral("--interval"));
  const std::optional<QString> mqttText = a.Value(QStringLiteral("--mqtt"));
  const std::optional<QString> caFile = a.Value(QStringLiteral("--mqtt-cafile"));
  const std::optional<QString> name = a.Value(QStringLiteral("--name"));
  const std::optional<QString> dir = a.Next();
  if (!intervalText || !mqttText || !caFile || !name || !dir || !a.Done()) return cli.UsageError(a);
  const std::optional<int> interval = WholeIntervalOption(cli, *intervalText, 1);
  if (!interval) return kUsage;
  std::optional<MqttSettings> mqtt;
  if (!mqttText->isEmpty()) {
    QString error;
    const std::optional<MqttUrl> url = ParseMqttUrl(*mqttText, &error);
    if (!url) return cli.Fail(QStringLiteral("--mqtt: %1").arg(error), kUsage);
    mqtt = MqttSettings{{*url, qEnvironmentVariable("SOLARDESK_MQTT_PASSWORD"), *caFile}, {}};
    mqtt->topics.prefix = url->prefix;
    mqtt->topics.name = name->isEmpty() ? StationName() : *name;
    mqtt->topics.intervalSeconds = *interval;
  } else if (!caFile->isEmpty() || !name->isEmpty()) {
    return cli.Fail(
        QStringLiteral("%1 needs --mqtt").arg(caFile->isEmpty() ? "--name" : "--mqtt-cafile"),
        kUsage);
  }
  if (!QDir().mkpath(*dir))
    return cli.Fail(
        QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(*dir)));

  Clock& clock = cli.clock();
  const EventSink events = StandardErrorEvents([&clock] { return clock.now(); });
  events(QStringLiteral("monitor started: a sample every %1 s into %2%3")
             .arg(*interval)
             .arg(QDir::toNativeSeparators(QDir(*dir).absolutePath()),
                  mqtt ? QStringLiteral(", published to %1:%2 as %3")
                             .arg(mqtt->broker.url.host)
                             .arg(mqtt->broker.url.port)
                             .arg(mqtt->topics.name)
                       : QString()));

  DayFiles files(*dir, events);
  std::unique_ptr<MqttPublisher> publisher;
  Station station(files, events, [&publisher](const Sample& s) {
    if (!publisher) return;
    publisher->SetUnit(s.unit);
    publisher->Publish(s);
  });
  MeterPoller poller(cli.link());
  poller.Start();
  reopenRequested = false;
  std::signal(SIGHUP, RequestReopen);

  const SampleScheduler scheduler(*interval);
  QDateTime due = scheduler.NextAtOrAfter(clock.now());
  while (!CliContext::stopRequested) {
    const MeterReading reading = poller.Latest();
    station.Observe(reading);
    // The topics name the meter, so the broker is first met once the meter was found.
    if (mqtt && !publisher && reading.state == MeterState::Answering) {
      mqtt->topics.meter = StationMeterName(mqtt->topics.name, poller.SerialNumber());
      publisher = std::make_unique<MqttPublisher>(*mqtt, events, clock);
      QString error;
      if (!publisher->Start(&error)) {
        poller.Stop();
        files.Close();
        return cli.Fail(error);
      }
    }
    if (publisher) publisher->SetMeterOnline(reading.state == MeterState::Answering);
    if (reopenRequested.exchange(false)) {
      files.Close();
      events(QStringLiteral("data file closed, to be opened again at the next sample"));
    }
    const QDateTime now = clock.now();
    if (now >= due) {
      // After a hold-up (a suspended machine), the latest sample time is taken, once.
      long long missed = 0;
      for (QDateTime next = scheduler.After(due); next <= now && missed <= 86400;
           next = scheduler.After(due)) {
        due = next;
        ++missed;
      }
      if (missed > 0)
        events(QStringLiteral("%1 samples skipped: the station was held up").arg(missed));
      station.Take(due, reading);
      due = scheduler.After(due);
      continue;
    }
    std::this_thread::sleep_for(
        std::min<std::chrono::milliseconds>(kNap, std::chrono::milliseconds(now.msecsTo(due))));
  }

  std::signal(SIGHUP, SIG_DFL);
  files.Close();
  if (publisher) publisher->Stop(kStopWaitMs);
  poller.Stop();
  events(QStringLiteral("monitor stopped"));
  return kOk;
}

}  // namespace solardesk::cli
