#include "MonitorCommand.h"

#include "SiteOptions.h"

#include <QDir>
#include <QSysInfo>
#include <atomic>
#include <csignal>
#include <memory>

#include "IntervalOption.h"
#include "station/DayFiles.h"
#include "station/StationLoop.h"
#include "station/StationTopics.h"
#include "station/web/WebServer.h"

namespace solardesk::cli {

using namespace station;

namespace {

// The loop that SIGHUP asks to reopen its day file.
std::atomic<StationLoop*> runningLoop{nullptr};

void RequestReopen(int) {
  if (StationLoop* loop = runningLoop.load()) loop->RequestReopen();
}

// How long a clean stop gives the waiting samples to reach the broker.
constexpr int kStopWaitMs = 2000;

// The station's name when --name gives none: the host name.
QString StationName() {
  const QString host = QSysInfo::machineHostName();
  return host.isEmpty() ? QStringLiteral("station") : host;
}

// The web page's settings from the command line and SOLARDESK_HTTP_PASSWORD; nothing when no
// --http was given; false when they were wrong (said).
bool TakeWebOptions(CliContext& cli, Arguments& a, std::optional<web::WebSettings>& settings) {
  const std::optional<QString> listen = a.Value(QStringLiteral("--http"));
  const std::optional<QString> user = a.Value(QStringLiteral("--http-user"));
  const std::optional<QString> cert = a.Value(QStringLiteral("--http-cert"));
  const std::optional<QString> key = a.Value(QStringLiteral("--http-key"));
  const bool open = a.Flag(QStringLiteral("--http-open"));
  // The site options of `stats`, for the clear-sky curve and bars of the page.
  QString siteError;
  const std::optional<SiteAssumptions> assumed = TakeSiteOptions(a, &siteError);
  if (!assumed) {
    cli.Fail(siteError, kUsage);
    return false;
  }
  if (!listen || !user || !cert || !key) return true;  // the usage error follows
  if (listen->isEmpty()) {
    if (!user->isEmpty() || !cert->isEmpty() || !key->isEmpty() || open) {
      cli.Fail(QStringLiteral("the --http-* options need --http"), kUsage);
      return false;
    }
    return true;
  }
  QString error;
  const std::optional<web::ListenAddress> address = web::ParseListenAddress(*listen, &error);
  if (!address) {
    cli.Fail(QStringLiteral("--http: %1").arg(error), kUsage);
    return false;
  }
  settings = web::WebSettings{*address, *user,   qgetenv("SOLARDESK_HTTP_PASSWORD"), open, *cert,
                              *key,     *assumed};
  const QString problem = web::SettingsProblem(*settings);
  if (!problem.isEmpty()) {
    cli.Fail(problem, kUsage);
    return false;
  }
  return true;
}

}  // namespace

int RunMonitor(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const std::optional<QString> intervalText = a.Value(QStringLiteral("--interval"));
  const std::optional<QString> mqttText = a.Value(QStringLiteral("--mqtt"));
  const std::optional<QString> caFile = a.Value(QStringLiteral("--mqtt-cafile"));
  const std::optional<QString> name = a.Value(QStringLiteral("--name"));
  std::optional<web::WebSettings> webSettings;
  if (!TakeWebOptions(cli, a, webSettings)) return kUsage;
  const std::optional<QString> dir = a.Next();
  if (!intervalText || !mqttText || !caFile || !name || !dir || !a.Done()) return cli.UsageError(a);
  const std::optional<int> interval = WholeIntervalOption(cli, *intervalText, 1);
  if (!interval) return kUsage;
  std::optional<MqttSettings> mqtt;
  QString topicName;  // the station's name in the topics
  if (!mqttText->isEmpty()) {
    QString error;
    const std::optional<MqttUrl> url = ParseMqttUrl(*mqttText, &error);
    if (!url) return cli.Fail(QStringLiteral("--mqtt: %1").arg(error), kUsage);
    // A name given is used in the topics as it is: one that would have to be changed there could
    // meet another station's ("roof top" and "roof_top"), so it is refused. The host name is
    // made topic-safe instead.
    if (!name->isEmpty() && !IsStationName(*name))
      return cli.Fail(QStringLiteral("--name \"%1\": a station's name may only hold the letters "
                                     "A-Z and a-z, the digits 0-9, \"-\", \"_\" and \".\"")
                          .arg(*name),
                      kUsage);
    mqtt = MqttSettings{{*url, qEnvironmentVariable("SOLARDESK_MQTT_PASSWORD"), *caFile}, {}};
    mqtt->topics.prefix = url->prefix;
    mqtt->topics.name = name->isEmpty() ? StationName() : *name;
    topicName = name->isEmpty() ? TopicSafe(mqtt->topics.name) : *name;
    mqtt->topics.intervalSeconds = *interval;
    // The day files are the queue of what the broker has not acknowledged yet.
    mqtt->folder = QDir(*dir).absolutePath();
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
  // The page reads the station through this view; the loop only sets it.
  web::StationView view(*interval, mqtt.has_value(), clock.now());
  std::unique_ptr<web::WebServer> server;
  if (webSettings) {
    server = std::make_unique<web::WebServer>(*webSettings, QDir(*dir).absolutePath(), view, events,
                                              [&clock] { return clock.now(); });
    QString error;
    if (!server->Start(&error)) return cli.Fail(error);
    events(QStringLiteral("web page on %1").arg(server->Url()));
  }
  PublisherFactory makePublisher;
  if (mqtt) {
    makePublisher = [&](const QString& serial, QString* error) {
      mqtt->topics.meter = StationMeterName(topicName, serial);
      auto publisher = std::make_unique<MqttPublisher>(*mqtt, events, clock);
      if (!publisher->Start(error)) publisher.reset();
      return publisher;
    };
  }
  MeterPoller poller(cli.link());
  poller.Start();
  StationLoop loop(*interval, clock, events, files, poller, makePublisher,
                   server ? &view : nullptr);
  runningLoop = &loop;
  std::signal(SIGHUP, RequestReopen);
  QString error;
  const bool ok = loop.Run(CliContext::stopRequested, &error);
  std::signal(SIGHUP, SIG_DFL);
  runningLoop = nullptr;
  if (server) server->Stop();
  loop.Finish(kStopWaitMs);
  poller.Stop();
  if (!ok) return cli.Fail(error);
  events(QStringLiteral("monitor stopped"));
  return kOk;
}

}  // namespace solardesk::cli
