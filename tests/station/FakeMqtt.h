#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "station/MqttClient.h"

namespace solardesk::station {

// The broker as the fake client sees it, in the test's hands.
struct FakeBroker {
  std::optional<QString> refuse;  // the next attempts fail at once, for this reason
  bool answers = true;            // an attempt that got through is accepted at once
  std::optional<QString> drop;    // the connection breaks at the next turn, for this reason
  bool acknowledges = true;
  int attempts = 0;
  int disconnects = 0;
  std::vector<OutgoingMessage> got;  // every message handed over, in order
  // The payloads handed over for `topic`, in order.
  QStringList On(const QString& topic) const {
    QStringList out;
    for (const OutgoingMessage& m : got)
      if (m.topic == topic) out << QString::fromUtf8(m.payload);
    return out;
  }
};

class FakeClient final : public MqttClient {
 public:
  explicit FakeClient(FakeBroker& broker) : broker_(broker) {}
  bool Connect(QString* why) override {
    ++broker_.attempts;
    if (broker_.refuse) {
      *why = *broker_.refuse;
      return false;
    }
    connected_ = broker_.answers;
    return true;
  }
  bool Service(int, QString* why) override {
    if (!broker_.drop) return true;
    *why = *broker_.drop;
    broker_.drop.reset();
    connected_ = false;
    return false;
  }
  bool Connected() const override { return connected_; }
  bool Publish(const OutgoingMessage& m) override {
    if (!connected_) return false;
    broker_.got.push_back(m);
    ++unacknowledged_;
    return true;
  }
  int TakeAcknowledged() override {
    if (!broker_.acknowledges) return 0;
    return std::exchange(unacknowledged_, 0);
  }
  void Disconnect() override {
    connected_ = false;
    ++broker_.disconnects;
  }

 private:
  FakeBroker& broker_;
  bool connected_ = false;
  int unacknowledged_ = 0;
};

}  // namespace solardesk::station
