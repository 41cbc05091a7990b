#include "MqttPublisher.h"

#include <unistd.h>

#include <QElapsedTimer>
#include <algorithm>

#include "MosquittoClient.h"

namespace solardesk::station {

namespace {

constexpr int kTurnMs = 50;
constexpr int kStopAckWaitMs = 1000;

QString Where(const MqttUrl& url) {
  return QStringLiteral("%1:%2").arg(url.host).arg(url.port);
}

}  // namespace

MqttPublisher::MqttPublisher(MqttSettings settings, EventSink events, const Clock& clock,
                             std::unique_ptr<MqttClient> client)
    : settings_(std::move(settings)),
      events_(std::move(events)),
      clock_(clock),
      client_(std::move(client)),
      watch_(Where(settings_.broker.url), clock_, events_),
      queue_(settings_.queueCapacity) {}

MqttPublisher::~MqttPublisher() {
  Stop(0);
}

bool MqttPublisher::Start(QString* error) {
  if (!client_) {
    const QString id = QStringLiteral("solardesk-%1-%2")
                           .arg(settings_.topics.meter)
                           .arg(static_cast<long long>(::getpid()));
    client_ = MosquittoClient::Create(settings_.broker, id, settings_.topics.Availability(), error);
    if (!client_) return false;
  }
  stopping_ = false;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void MqttPublisher::Run() {
  while (!stopping_) {
    if (!Turn(kTurnMs)) std::this_thread::sleep_for(std::chrono::milliseconds(kTurnMs));
  }
  Finish(stopWaitMs_);
}

void MqttPublisher::Stop(int waitMs) {
  if (thread_.joinable()) {
    stopWaitMs_ = waitMs;
    stopping_ = true;
    thread_.join();
  } else if (client_) {
    Finish(waitMs);  // turned by hand
  }
}

std::size_t MqttPublisher::Waiting() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size() + static_cast<std::size_t>(inFlight_.load());
}

void MqttPublisher::Publish(const Sample& s) {
  const std::lock_guard<std::mutex> lock(mutex_);
  queue_.Push({settings_.topics.State(), SampleJson(s), false});
}

void MqttPublisher::SetUnit(const QString& unit) {
  if (unit.isEmpty()) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  unit_ = unit;
}

void MqttPublisher::SetMeterOnline(bool online) {
  const std::lock_guard<std::mutex> lock(mutex_);
  meterOnline_ = online;
}

bool MqttPublisher::Turn(int ms) {
  if (!session_ && !attempting_) {
    if (!watch_.AttemptDue()) {
      Report();
      return false;
    }
    QString why;
    if (!client_->Connect(&why)) {
      watch_.Failed(why);
      Report();
      return false;
    }
    attempting_ = true;
    attemptStart_ = clock_.now();
  }
  QString why;
  if (!client_->Service(ms, &why)) {
    Broke(why);
  } else {
    inFlight_ = std::max(0, inFlight_ - client_->TakeAcknowledged());
    if (client_->Connected()) {
      if (!session_) Opened();
      SendWaiting();
    } else if (session_) {
      client_->Disconnect();
      Broke(QStringLiteral("connection lost"));
    } else if (attemptStart_.secsTo(clock_.now()) >= kAnswerSeconds) {
      client_->Disconnect();
      Broke(QStringLiteral("no answer within %1 s").arg(kAnswerSeconds));
    }
  }
  Report();
  return true;
}

void MqttPublisher::Broke(const QString& why) {
  session_ = false;
  connected_ = false;
  attempting_ = false;
  watch_.Failed(why);
}

void MqttPublisher::Opened() {
  session_ = true;
  connected_ = true;
  attempting_ = false;
  watch_.Connected(Waiting());
  unitSent_.clear();
  meterSent_.reset();
  Send({settings_.topics.Availability(), "online", true});
}

void MqttPublisher::SendWaiting() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (meterSent_ != meterOnline_) {
    const char* said = meterOnline_ ? "online" : "offline";
    if (Send({settings_.topics.MeterAvailability(), said, true})) meterSent_ = meterOnline_;
  }
  if (!unit_.isEmpty() && unit_ != unitSent_ &&
      Send({settings_.topics.Discovery(), settings_.topics.DiscoveryConfig(unit_), true}))
    unitSent_ = unit_;
  while (inFlight_ < kWindow) {
    const OutgoingMessage* m = queue_.Front();
    if (!m || !Send(*m)) break;
    queue_.Pop();
  }
}

bool MqttPublisher::Send(const OutgoingMessage& m) {
  if (!client_->Publish(m)) return false;
  ++inFlight_;
  return true;
}

void MqttPublisher::Report() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    droppedSinceSaid_ += queue_.TakeDropped();
  }
  if (!session_) {
    if (droppedSinceSaid_ > 0 && !overflowSaid_) {
      events_(QStringLiteral("MQTT queue full (%1 samples): the oldest are dropped")
                  .arg(queue_.capacity()));
      overflowSaid_ = true;
    }
  } else if (droppedSinceSaid_ > 0) {
    events_(QStringLiteral("%1 samples dropped from the MQTT queue while the broker was away")
                .arg(droppedSinceSaid_));
    droppedSinceSaid_ = 0;
    overflowSaid_ = false;
  }
  watch_.Remind(Waiting());
}

void MqttPublisher::Finish(int waitMs) {
  if (finished_) return;
  finished_ = true;
  QElapsedTimer waited;
  waited.start();
  while (session_ && Waiting() > 0 && waited.elapsed() < waitMs) Turn(20);
  if (session_ && Send({settings_.topics.Availability(), "offline", true})) {
    waited.restart();
    while (session_ && inFlight_ > 0 && waited.elapsed() < kStopAckWaitMs) Turn(20);
  }
  client_->Disconnect();
  session_ = false;
  connected_ = false;
  if (Waiting() > 0) events_(QStringLiteral("%1 samples not sent to the broker").arg(Waiting()));
}

}  // namespace solardesk::station
