#pragma once

#include <QString>
#include <atomic>
#include <cstddef>
#include <mutex>

#include "EventLog.h"
#include "MqttUrl.h"
#include "PublishQueue.h"
#include "SampleFormats.h"
#include "StationTopics.h"

struct mosquitto;

namespace solardesk::station {

struct MqttSettings {
  MqttUrl url;
  QString password;  // empty: none
  QString caFile;    // for mqtts: a CA file instead of the system's CA store
  StationTopics topics;
  std::size_t queueCapacity = PublishQueue::kDefaultCapacity;
};

// Publishes the station's samples through libmosquitto, which connects, keeps the connection
// and reconnects in a thread of its own. Samples wait in a bounded queue while the broker is
// away and go out in order when it is back; publishing never waits for the broker. Every
// message is QoS 1; the availability topic is retained, "online" after each connection and
// "offline" as the last will and at a clean stop.
//
// Everything but the client's own callbacks runs on the station's thread: Publish, SetUnit and
// Pump hand messages to the client there, so their order is the order of the samples.
class MqttPublisher {
 public:
  MqttPublisher(MqttSettings settings, EventSink events);
  ~MqttPublisher();
  MqttPublisher(const MqttPublisher&) = delete;
  MqttPublisher& operator=(const MqttPublisher&) = delete;

  // Sets up the client and starts connecting in the background; false (with the reason) when
  // the client cannot be set up at all (a CA file that cannot be read, for one).
  bool Start(QString* error);
  // Queues the sample for the state topic.
  void Publish(const Sample& s);
  // The meter's unit: the discovery config is sent (again) when it changes.
  void SetUnit(const QString& unit);
  // Hands waiting messages to the client while it is connected and says what changed. The
  // station calls it every few tens of milliseconds.
  void Pump();
  // A clean stop: gives the waiting messages up to `waitMs` to go out, then "offline",
  // disconnects and ends the client's thread.
  void Stop(int waitMs);

  std::size_t Waiting() const { return queue_.size() + static_cast<std::size_t>(inFlight_.load()); }

  // Messages handed to the client and not yet acknowledged, at most.
  static constexpr int kWindow = 20;

 private:
  static void OnConnect(mosquitto*, void* self, int rc);
  static void OnDisconnect(mosquitto*, void* self, int rc);
  static void OnPublish(mosquitto*, void* self, int mid);
  bool Send(const OutgoingMessage& m);
  void Announce();

  MqttSettings settings_;
  EventSink events_;
  mosquitto* client_ = nullptr;
  bool started_ = false;
  PublishQueue queue_;
  QString unit_;
  bool unitAnnounced_ = false;
  bool overflowSaid_ = false;
  std::size_t droppedSinceSaid_ = 0;
  std::atomic<bool> connected_{false};
  std::atomic<int> connections_{0};  // successful connections so far
  int connectionsSeen_ = 0;
  std::atomic<int> inFlight_{0};
};

}  // namespace solardesk::station
