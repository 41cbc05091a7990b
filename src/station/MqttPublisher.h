#pragma once

#include <QDateTime>
#include <QString>
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

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
};

// Publishes the station's samples to the broker from a thread of its own, which connects,
// keeps the connection and tries again after any failure (BrokerWatch says when, and says what
// happens). Samples wait in a bounded queue while the broker is away and go out in order when
// it is back; publishing never waits for the broker. Every message is QoS 1. The station's
// availability topic is retained, "online" after each connection and "offline" as the last
// will and at a clean stop; the meter's says whether the meter answers.
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

  // The publisher thread's own.
  bool session_ = false;     // connected and announced
  bool attempting_ = false;  // waiting for the broker's answer
  QDateTime attemptStart_;
  QString unitSent_;  // of the discovery config sent in this session
  std::optional<bool> meterSent_;
  bool overflowSaid_ = false;
  std::size_t droppedSinceSaid_ = 0;
  std::atomic<int> inFlight_{0};
};

}  // namespace solardesk::station
