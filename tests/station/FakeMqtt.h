#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
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
  bool acknowledgesBackwards = false;  // the latest message first
  // Messages the broker does not acknowledge (yet).
  std::function<bool(const OutgoingMessage&)> withholds;
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
  // The record numbers of the samples handed over for `topic`, in order.
  std::vector<int> Records(const QString& topic) const {
    std::vector<int> out;
    for (const QString& p : On(topic))
      out.push_back(p.section("\"record\": ", 1).chopped(1).toInt());
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
  std::optional<int> Publish(const OutgoingMessage& m) override {
    if (!connected_) return std::nullopt;
    broker_.got.push_back(m);
    unacknowledged_.push_back({++lastId_, m});
    return lastId_;
  }
  std::vector<int> TakeAcknowledged() override {
    if (!broker_.acknowledges || !connected_) return {};
    std::vector<int> ids;
    std::vector<std::pair<int, OutgoingMessage>> kept;
    for (auto& [id, m] : unacknowledged_) {
      if (broker_.withholds && broker_.withholds(m)) {
        kept.push_back({id, std::move(m)});
      } else {
        ids.push_back(id);
      }
    }
    unacknowledged_ = std::move(kept);
    if (broker_.acknowledgesBackwards) std::reverse(ids.begin(), ids.end());
    return ids;
  }
  void Disconnect() override {
    connected_ = false;
    ++broker_.disconnects;
  }

 private:
  FakeBroker& broker_;
  bool connected_ = false;
  int lastId_ = 0;
  std::vector<std::pair<int, OutgoingMessage>> unacknowledged_;
};

// The numbers from `from` to `to`.
inline std::vector<int> Range(int from, int to) {
  std::vector<int> out;
  for (int i = from; i <= to; ++i) out.push_back(i);
  return out;
}

}  // namespace solardesk::station
