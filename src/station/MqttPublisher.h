#pragma once

#include <QDateTime>
#include <QString>
#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "AckedRecords.h"
#include "BacklogReader.h"
#include "BrokerWatch.h"
#include "EventLog.h"
#include "MqttClient.h"
#include "MqttUrl.h"
#include "PublishQueue.h"
#include "SampleFormats.h"
#include "StationTopics.h"
#include "core/Clock.h"

namespace solardesk::station {

struct MqttSettings {
  BrokerAccess broker;
  StationTopics topics;
  std::size_t queueCapacity = PublishQueue::kDefaultCapacity;
  // The folder of the day files, which hold the samples the broker still lacks; empty: the
  // samples wait in memory alone.
  QString folder = {};
  // The most samples a second read back from the day files after an outage or a restart.
  int catchUpPerSecond = 500;
};

// Publishes the station's samples to the broker from a thread of its own, which connects,
// keeps the connection and tries again after any failure (BrokerWatch says when, and says what
// happens); publishing never waits for the broker. Every message is QoS 1. The station's
// availability topic is retained, "online" after each connection and "offline" as the last
// will and at a clean stop; the meter's says whether the meter answers.
//
// The day files are the queue. The publisher keeps, per day file, the records the broker
// acknowledged (AckedRecords, in the folder's state file). While the broker is away nothing is
// held in memory: once it is back, and after a restart, what it lacks is read back from the
// files (BacklogReader) and sent oldest first, at most `catchUpPerSecond` a second and never
// filling the window, while each new sample goes out at once. Without a state file it starts
// from the present. Samples that are in no file (the disk refused them) wait in a bounded
// queue in memory.
//
// Publish, SetUnit, SetMeterOnline, Waiting and Stop are for the station's thread; everything
// else, the client included, belongs to the publisher's thread.
class MqttPublisher {
 public:
  // `client`: the connection to drive; none for libmosquitto's, which Start sets up.
  MqttPublisher(MqttSettings settings, EventSink events, const Clock& clock,
                std::unique_ptr<MqttClient> client = nullptr);
  ~MqttPublisher();
  MqttPublisher(const MqttPublisher&) = delete;
  MqttPublisher& operator=(const MqttPublisher&) = delete;

  // Sets up the client and starts the publisher's thread; false (with the reason) when the
  // client cannot be set up at all (a CA file that cannot be read, for one).
  bool Start(QString* error);
  // Queues the sample for the state topic.
  void Publish(const Sample& s);
  // The meter's unit: the discovery config is sent (again) when it changes.
  void SetUnit(const QString& unit);
  // Whether the meter answers; said on the meter's availability topic when it changes.
  void SetMeterOnline(bool online);
  // A clean stop: gives the waiting messages up to `waitMs` to go out, then "offline",
  // disconnects and ends the publisher's thread.
  void Stop(int waitMs);
  // Samples not yet acknowledged by the broker.
  std::size_t Waiting() const;
  // Whether a session with the broker is open (for the station's own status page).
  bool Connected() const { return connected_; }

  // One turn of the publisher's thread: an attempt when one is due, the traffic for at most
  // `ms`, the messages that may go out handed over, the events said. False when it had
  // nothing to wait for (between attempts). Without Start, the caller turns it.
  bool Turn(int ms);

  // Messages handed to the client and not yet acknowledged, at most.
  static constexpr int kWindow = 20;
  // Places of the window that samples read back from the files leave to new ones.
  static constexpr int kLiveRoom = 2;
  // How often the state file is written while records are acknowledged (and whenever the
  // connection ends, and at the stop).
  static constexpr int kSaveEverySeconds = 10;
  // How long an attempt may wait for the broker's answer.
  static constexpr int kAnswerSeconds = 10;

 private:
  void Run();
  void Finish(int waitMs);
  void Broke(const QString& why);
  void Opened();
  void SendWaiting();
  void Report();
  bool Send(const OutgoingMessage& m);
  // The state file read and the day files counted, once, before the first attempt.
  void Prepare();
  void Acknowledged(int id);
  void CatchUp(const std::optional<RecordPosition>& upTo);
  void SaveState(bool now);
  // Samples in the day files not acknowledged yet; under mutex_.
  long long FileBacklog() const;

  MqttSettings settings_;
  EventSink events_;
  const Clock& clock_;
  std::unique_ptr<MqttClient> client_;
  BrokerWatch watch_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> stopWaitMs_{0};
  std::atomic<bool> connected_{false};
  bool finished_ = false;

  mutable std::mutex mutex_;  // guards what the station's thread hands over:
  PublishQueue queue_;
  QString unit_;
  bool meterOnline_ = true;
  bool live_ = false;                   // new samples go into the queue: a session stands
  std::optional<RecordPosition> upTo_;  // the newest sample to be read back from the files
  std::optional<RecordPosition> firstHanded_;
  std::optional<RecordPosition> handed_;  // the newest sample handed over
  bool stateKnown_ = false;               // a state file was read, or made from the first sample
  struct Tally {
    long long last = 0;   // the newest record known
    long long acked = 0;  // records acknowledged
  };
  std::map<QString, Tally> tally_;  // per day file from the oldest not sent whole
  std::atomic<std::size_t> inFlightUnsourced_{0};

  // The publisher thread's own.
  bool session_ = false;     // connected and announced
  bool attempting_ = false;  // waiting for the broker's answer
  QDateTime attemptStart_;
  QString unitSent_;  // of the discovery config sent in this session
  std::optional<bool> meterSent_;
  bool overflowSaid_ = false;
  std::size_t droppedSinceSaid_ = 0;
  std::atomic<int> inFlight_{0};
  bool prepared_ = false;
  QString statePath_;
  AckedRecords acked_;
  std::unique_ptr<BacklogReader> reader_;
  std::map<int, RecordPosition> inFlightIds_;
  std::set<RecordPosition> inFlightRecords_;
  std::optional<OutgoingMessage> held_;   // read back, not yet taken by the client
  std::optional<RecordPosition> idleAt_;  // nothing more to read back up to here
  double tokens_ = 0;
  QDateTime tokensAt_;
  bool dirty_ = false;
  QDateTime savedAt_;
  bool saveFailedSaid_ = false;
  bool catchingUp_ = false;
};

}  // namespace solardesk::station
