#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "PublishQueue.h"

namespace solardesk::station {

// The connection to one broker as the publisher drives it, all from one thread: one attempt at
// a time, the traffic in turns, messages handed over at QoS 1. MosquittoClient is the real one.
class MqttClient {
 public:
  virtual ~MqttClient() = default;

  // Starts an attempt to connect; false, with the reason, when it failed at once.
  virtual bool Connect(QString* why) = 0;
  // Carries the traffic for at most `ms`; false, with the reason, when the attempt failed or the
  // connection ended (the client is then disconnected).
  virtual bool Service(int ms, QString* why) = 0;
  // The broker accepted the connection and it still stands.
  virtual bool Connected() const = 0;
  // Hands a message over; the client keeps it, through reconnections, until the broker
  // acknowledged it. Its id, or nothing when it cannot take it.
  virtual std::optional<int> Publish(const OutgoingMessage& m) = 0;
  // The ids of the messages the broker acknowledged since the last call, as they came.
  virtual std::vector<int> TakeAcknowledged() = 0;
  // Ends the connection (with a clean goodbye when it stands) or the attempt.
  virtual void Disconnect() = 0;
};

}  // namespace solardesk::station
