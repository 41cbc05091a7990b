#include "MqttPublisher.h"

#include <mosquitto.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <thread>

namespace solardesk::station {

namespace {

void InitLibrary() {
  static const int done = [] {
    mosquitto_lib_init();
    return 0;
  }();
  (void)done;
}

constexpr int kKeepAliveSeconds = 30;
constexpr int kStopAckWaitMs = 1000;

QString Where(const MqttUrl& url) {
  return QStringLiteral("%1:%2").arg(url.host).arg(url.port);
}

}  // namespace

MqttPublisher::MqttPublisher(MqttSettings settings, EventSink events)
    : settings_(std::move(settings)), events_(std::move(events)), queue_(settings_.queueCapacity) {}

MqttPublisher::~MqttPublisher() {
  Stop(0);
  if (client_) mosquitto_destroy(client_);
}

bool MqttPublisher::Start(QString* error) {
  InitLibrary();
  const MqttUrl& url = settings_.url;
  const QByteArray id = QStringLiteral("solardesk-%1-%2")
                            .arg(settings_.topics.meter)
                            .arg(static_cast<long long>(::getpid()))
                            .toUtf8();
  client_ = mosquitto_new(id.constData(), true, this);
  const auto fail = [&](const QString& why) {
    if (error) *error = why;
    return false;
  };
  if (!client_) return fail(QStringLiteral("cannot set up the MQTT client"));
  mosquitto_connect_callback_set(client_, &MqttPublisher::OnConnect);
  mosquitto_disconnect_callback_set(client_, &MqttPublisher::OnDisconnect);
  mosquitto_publish_callback_set(client_, &MqttPublisher::OnPublish);
  mosquitto_reconnect_delay_set(client_, 1, 10, false);
  const QByteArray availability = settings_.topics.Availability().toUtf8();
  mosquitto_will_set(client_, availability.constData(), 7, "offline", 1, true);
  if (!url.user.isEmpty()) {
    const QByteArray user = url.user.toUtf8();
    const QByteArray password = settings_.password.toUtf8();
    mosquitto_username_pw_set(client_, user.constData(),
                              settings_.password.isEmpty() ? nullptr : password.constData());
  }
  if (url.tls) {
    int rc = MOSQ_ERR_SUCCESS;
    if (!settings_.caFile.isEmpty()) {
      const QByteArray ca = settings_.caFile.toLocal8Bit();
      rc = mosquitto_tls_set(client_, ca.constData(), nullptr, nullptr, nullptr, nullptr);
    } else {
      rc = mosquitto_int_option(client_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
    }
    if (rc != MOSQ_ERR_SUCCESS) {
      return fail(
          QStringLiteral("cannot use the CA certificates %1: %2")
              .arg(settings_.caFile.isEmpty() ? QStringLiteral("of the system") : settings_.caFile,
                   QString::fromUtf8(mosquitto_strerror(rc))));
    }
  }
  const QByteArray host = url.host.toUtf8();
  const int rc = mosquitto_connect_async(client_, host.constData(), url.port, kKeepAliveSeconds);
  if (rc != MOSQ_ERR_SUCCESS) {
    events_(QStringLiteral("broker %1 not reachable (%2); trying again")
                .arg(Where(url), QString::fromUtf8(mosquitto_strerror(rc))));
  }
  if (mosquitto_loop_start(client_) != MOSQ_ERR_SUCCESS)
    return fail(QStringLiteral("cannot start the MQTT client's thread"));
  started_ = true;
  return true;
}

void MqttPublisher::OnConnect(mosquitto*, void* self, int rc) {
  auto* p = static_cast<MqttPublisher*>(self);
  if (rc != 0) {
    p->events_(QStringLiteral("broker %1 refused the connection: %2")
                   .arg(Where(p->settings_.url), QString::fromUtf8(mosquitto_connack_string(rc))));
    return;
  }
  p->connected_ = true;
  ++p->connections_;
}

void MqttPublisher::OnDisconnect(mosquitto*, void* self, int rc) {
  auto* p = static_cast<MqttPublisher*>(self);
  if (p->connected_.exchange(false) && rc != 0) {
    p->events_(QStringLiteral("broker %1 lost; samples wait for it").arg(Where(p->settings_.url)));
  }
}

void MqttPublisher::OnPublish(mosquitto*, void* self, int) {
  auto* p = static_cast<MqttPublisher*>(self);
  if (p->inFlight_ > 0) --p->inFlight_;
}

bool MqttPublisher::Send(const OutgoingMessage& m) {
  const QByteArray topic = m.topic.toUtf8();
  ++inFlight_;
  const int rc =
      mosquitto_publish(client_, nullptr, topic.constData(), static_cast<int>(m.payload.size()),
                        m.payload.constData(), 1, m.retain);
  if (rc != MOSQ_ERR_SUCCESS) {
    --inFlight_;
    return false;
  }
  return true;
}

void MqttPublisher::Announce() {
  events_(QStringLiteral("broker %1 connected").arg(Where(settings_.url)));
  Send({settings_.topics.Availability(), "online", true});
  unitAnnounced_ = false;
}

void MqttPublisher::Publish(const Sample& s) {
  queue_.Push({settings_.topics.State(), SampleJson(s), false});
  Pump();
}

void MqttPublisher::SetUnit(const QString& unit) {
  if (unit.isEmpty() || unit == unit_) return;
  unit_ = unit;
  unitAnnounced_ = false;
  Pump();
}

void MqttPublisher::Pump() {
  if (!started_) return;
  droppedSinceSaid_ += queue_.TakeDropped();
  if (!connected_) {
    if (droppedSinceSaid_ > 0 && !overflowSaid_) {
      events_(QStringLiteral("MQTT queue full (%1 samples): the oldest are dropped")
                  .arg(queue_.capacity()));
      overflowSaid_ = true;
    }
    return;
  }
  const int connections = connections_;
  if (connections != connectionsSeen_) {
    connectionsSeen_ = connections;
    Announce();
  }
  if (droppedSinceSaid_ > 0) {
    events_(QStringLiteral("%1 samples dropped from the MQTT queue while the broker was away")
                .arg(droppedSinceSaid_));
    droppedSinceSaid_ = 0;
    overflowSaid_ = false;
  }
  if (!unitAnnounced_ && !unit_.isEmpty()) {
    unitAnnounced_ =
        Send({settings_.topics.Discovery(), settings_.topics.DiscoveryConfig(unit_), true});
  }
  while (inFlight_ < kWindow) {
    const OutgoingMessage* m = queue_.Front();
    if (!m || !Send(*m)) break;
    queue_.Pop();
  }
}

void MqttPublisher::Stop(int waitMs) {
  if (!started_) return;
  QElapsedTimer waited;
  waited.start();
  while (connected_ && Waiting() > 0 && waited.elapsed() < waitMs) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const bool wasConnected = connected_;
  if (wasConnected && Send({settings_.topics.Availability(), "offline", true})) {
    waited.restart();
    while (connected_ && inFlight_ > 0 && waited.elapsed() < kStopAckWaitMs)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  mosquitto_disconnect(client_);
  // Connected, the loop ends with the disconnection; otherwise it may be waiting to reconnect.
  mosquitto_loop_stop(client_, !wasConnected);
  started_ = false;
  if (queue_.size() > 0)
    events_(QStringLiteral("%1 samples not sent to the broker").arg(queue_.size()));
}

}  // namespace solardesk::station
