#pragma once

#include <QString>
#include <memory>

#include "MqttClient.h"
#include "MqttUrl.h"

struct mosquitto;

namespace solardesk::station {

// MqttClient through libmosquitto, without its own thread or reconnection: the publisher's
// thread calls every function, and decides itself when to try again.
class MosquittoClient final : public MqttClient {
 public:
  // The client set up, or nothing with the reason (a CA file that cannot be used, for one).
  // `willTopic` gets a retained "offline" when the connection breaks off.
  static std::unique_ptr<MosquittoClient> Create(const BrokerAccess& broker,
                                                 const QString& clientId, const QString& willTopic,
                                                 QString* error);
  ~MosquittoClient() override;

  bool Connect(QString* why) override;
  bool Service(int ms, QString* why) override;
  bool Connected() const override { return connected_; }
  std::optional<int> Publish(const OutgoingMessage& m) override;
  std::vector<int> TakeAcknowledged() override;
  void Disconnect() override;

 private:
  explicit MosquittoClient(BrokerAccess broker) : broker_(std::move(broker)) {}
  static void OnConnect(mosquitto*, void* self, int rc);
  static void OnDisconnect(mosquitto*, void* self, int rc);
  static void OnPublish(mosquitto*, void* self, int mid);
  static void OnLog(mosquitto*, void* self, int level, const char* text);
  // The reason for the libmosquitto error `rc` of an attempt or, `wasConnected`, of a
  // connection, in the words of the event lines.
  QString Reason(int rc, int savedErrno, bool wasConnected) const;
  // Whether the socket of an attempt libmosquitto still waits on was refused or closed; says
  // why.
  bool AttemptFailed(QString* why) const;

  BrokerAccess broker_;
  mosquitto* client_ = nullptr;
  bool connected_ = false;
  int refusal_ = 0;                // the broker's answer when it refused the connection
  int connectErrno_ = 0;           // why the last attempt's connection failed, when it did
  std::vector<int> acknowledged_;  // message ids
  QString tlsError_;               // the last TLS error libmosquitto logged
};

}  // namespace solardesk::station
