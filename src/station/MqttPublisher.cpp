#include "MqttPublisher.h"

#include <unistd.h>

#include <QDir>
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
      queue_(settings_.queueCapacity) {
  if (!settings_.folder.isEmpty()) {
    statePath_ = QDir(settings_.folder).filePath(QLatin1String(AckedRecords::kFileName));
    reader_ = std::make_unique<BacklogReader>(settings_.folder);
  }
}

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
  return static_cast<std::size_t>(FileBacklog()) + queue_.Unsourced() + inFlightUnsourced_;
}

long long MqttPublisher::FileBacklog() const {
  long long n = 0;
  for (const auto& [file, t] : tally_) n += std::max(0LL, t.last - t.acked);
  return n;
}

void MqttPublisher::Publish(const Sample& s) {
  const std::lock_guard<std::mutex> lock(mutex_);
  OutgoingMessage m{settings_.topics.State(), SampleJson(s), false, {}};
  if (reader_ && s.record && !s.file.isEmpty()) {
    const RecordPosition at{s.file, *s.record};
    m.source = at;
    Tally& t = tally_[at.file];
    t.last = std::max(t.last, at.record);
    handed_ = at;
    if (!firstHanded_) {
      firstHanded_ = at;
      // Without a state file, the station starts from the present: this sample.
      if (!stateKnown_) t.acked = std::max(t.acked, at.record - 1);
    }
    // While no session stands the sample stays in its file alone.
    if (!live_) {
      upTo_ = std::max(upTo_.value_or(at), at);
      return;
    }
  }
  if (const std::optional<OutgoingMessage> out = queue_.Push(std::move(m));
      out && out->source.InFile())
    upTo_ = std::max(upTo_.value_or(out->source), out->source);
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

void MqttPublisher::Prepare() {
  prepared_ = true;
  if (!reader_) return;
  if (!acked_.Load(statePath_)) return;  // from the present, once the first sample comes
  const std::map<QString, long long> last =
      BacklogReader::LastRecords(settings_.folder, *acked_.Oldest());
  const std::lock_guard<std::mutex> lock(mutex_);
  stateKnown_ = true;
  for (const auto& [file, n] : last) {
    Tally& t = tally_[file];
    t.last = std::max(t.last, n);
    if (n > 0) upTo_ = std::max(upTo_.value_or(RecordPosition{file, n}), RecordPosition{file, n});
  }
  for (auto& [file, t] : tally_) t.acked = acked_.CountUpTo(file, t.last);
}

bool MqttPublisher::Turn(int ms) {
  if (!prepared_) Prepare();
  if (reader_ && acked_.empty()) {
    // The first sample of a station without a state file: the present starts there.
    std::optional<RecordPosition> first;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      first = firstHanded_;
      stateKnown_ = stateKnown_ || first.has_value();
    }
    if (first) {
      acked_.Note(first->file);
      if (first->record > 1) acked_.Add(first->file, 1, first->record - 1);
      SaveState(true);
    }
  }
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
    for (const int id : client_->TakeAcknowledged()) Acknowledged(id);
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
  if (catchingUp_) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (FileBacklog() == 0) {
      events_(QStringLiteral("every sample of the day files sent"));
      catchingUp_ = false;
    }
  }
  SaveState(false);
  Report();
  return true;
}

void MqttPublisher::Acknowledged(int id) {
  const auto found = inFlightIds_.find(id);
  if (found == inFlightIds_.end()) return;
  inFlight_ = std::max(0, inFlight_ - 1);
  const std::lock_guard<std::mutex> lock(mutex_);
  if (const RecordPosition& at = found->second; at.InFile()) {
    if (!acked_.Contains(at.file, at.record)) {
      acked_.Add(at);
      ++tally_[at.file].acked;
      dirty_ = true;
    }
    inFlightRecords_.erase(at);
  } else if (inFlightUnsourced_ > 0) {
    --inFlightUnsourced_;
  }
  inFlightIds_.erase(found);
}

void MqttPublisher::Broke(const QString& why) {
  session_ = false;
  connected_ = false;
  attempting_ = false;
  {
    // What the queue held of the day files is read back from them next time.
    const std::lock_guard<std::mutex> lock(mutex_);
    live_ = false;
    queue_.RemoveSourced();
    if (handed_) upTo_ = std::max(upTo_.value_or(*handed_), *handed_);
  }
  watch_.Failed(why);
  SaveState(true);
}

void MqttPublisher::Opened() {
  session_ = true;
  connected_ = true;
  attempting_ = false;
  watch_.Connected(Waiting());
  unitSent_.clear();
  meterSent_.reset();
  Send({settings_.topics.Availability(), "online", true, {}});
  const std::lock_guard<std::mutex> lock(mutex_);
  live_ = true;
  idleAt_.reset();
  if (const long long n = FileBacklog(); n > 0 && !catchingUp_) {
    events_(QStringLiteral("sending %1 samples from the day files, at most %2 a second")
                .arg(n)
                .arg(settings_.catchUpPerSecond));
    catchingUp_ = true;
  }
}

void MqttPublisher::SendWaiting() {
  std::optional<RecordPosition> upTo;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (meterSent_ != meterOnline_) {
      const char* said = meterOnline_ ? "online" : "offline";
      if (Send({settings_.topics.MeterAvailability(), said, true, {}})) meterSent_ = meterOnline_;
    }
    if (!unit_.isEmpty() && unit_ != unitSent_ &&
        Send({settings_.topics.Discovery(), settings_.topics.DiscoveryConfig(unit_), true, {}}))
      unitSent_ = unit_;
    // New samples first: they never wait for those read back from the files.
    while (inFlight_ < kWindow) {
      const OutgoingMessage* m = queue_.Front();
      if (!m || !Send(*m)) break;
      queue_.Pop();
    }
    upTo = upTo_;
  }
  // Reading the files is done without the lock, so that the station never waits for it.
  if (reader_ && upTo) CatchUp(upTo);
}

void MqttPublisher::CatchUp(const std::optional<RecordPosition>& upTo) {
  const QDateTime now = clock_.now();
  const double rate = std::max(1, settings_.catchUpPerSecond);
  const qint64 elapsed = tokensAt_.isValid() ? tokensAt_.msecsTo(now) : 1000;
  if (elapsed > 0 || !tokensAt_.isValid()) {
    tokens_ = std::min(rate, tokens_ + rate * static_cast<double>(elapsed) / 1000.0);
    tokensAt_ = now;
  } else if (elapsed < 0) {
    tokensAt_ = now;  // a clock set back
  }
  const std::optional<QString> from = acked_.Oldest();
  if (!from) return;
  const auto skip = [this](const RecordPosition& at) {
    return acked_.Contains(at.file, at.record) || inFlightRecords_.count(at) > 0;
  };
  const auto sent = [this](const QString& file) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto t = tally_.find(file);
    return t != tally_.end() && t->second.acked >= t->second.last;
  };
  while (inFlight_ < kWindow - kLiveRoom && tokens_ >= 1.0) {
    if (!held_) {
      if (idleAt_ == upTo) return;
      std::optional<Sample> s = reader_->Next(*from, *upTo, skip, sent);
      if (!s) {
        idleAt_ = upTo;
        return;
      }
      held_ = OutgoingMessage{settings_.topics.State(), SampleJson(*s), false,
                              RecordPosition{s->file, *s->record}};
    }
    if (!Send(*held_)) return;
    held_.reset();
    tokens_ -= 1.0;
  }
}

bool MqttPublisher::Send(const OutgoingMessage& m) {
  const std::optional<int> id = client_->Publish(m);
  if (!id) return false;
  ++inFlight_;
  inFlightIds_[*id] = m.source;
  if (m.source.InFile()) {
    inFlightRecords_.insert(m.source);
  } else {
    ++inFlightUnsourced_;
  }
  return true;
}

void MqttPublisher::SaveState(bool now) {
  if (!reader_ || acked_.empty() || (!dirty_ && !now)) return;
  const QDateTime t = clock_.now();
  if (!now && savedAt_.isValid() && savedAt_.secsTo(t) < kSaveEverySeconds &&
      savedAt_.secsTo(t) >= 0)
    return;
  {
    // Day files sent whole are forgotten, oldest first, the newest always kept.
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const QString& file : acked_.Files()) {
      const auto t = tally_.find(file);
      if (acked_.Files().size() <= 1 || (t != tally_.end() && t->second.acked < t->second.last))
        break;
      acked_.Forget(file);
      if (t != tally_.end()) tally_.erase(t);
    }
  }
  QString why;
  if (acked_.Save(statePath_, &why)) {
    dirty_ = false;
    savedAt_ = t;
    saveFailedSaid_ = false;
  } else if (!saveFailedSaid_) {
    events_(QStringLiteral("cannot write %1 (%2): after a restart, samples may be sent again")
                .arg(QDir::toNativeSeparators(statePath_), why));
    saveFailedSaid_ = true;
  }
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
  if (session_ && Send({settings_.topics.Availability(), "offline", true, {}})) {
    waited.restart();
    while (session_ && inFlight_ > 0 && waited.elapsed() < kStopAckWaitMs) Turn(20);
  }
  client_->Disconnect();
  session_ = false;
  connected_ = false;
  SaveState(true);
  if (Waiting() > 0) events_(QStringLiteral("%1 samples not sent to the broker").arg(Waiting()));
}

}  // namespace solardesk::station
