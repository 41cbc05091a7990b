#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <deque>
#include <optional>

namespace solardesk::station {

struct OutgoingMessage {
  QString topic;
  QByteArray payload;
  bool retain = false;
};

// The messages waiting for the broker, oldest first, at most `capacity` of them: when it is
// full, a new message pushes the oldest out, and the queue counts what it dropped.
class PublishQueue {
 public:
  explicit PublishQueue(std::size_t capacity) : capacity_(capacity) {}

  // True when the oldest message had to go to make room.
  bool Push(OutgoingMessage message);
  std::optional<OutgoingMessage> Pop();
  // The oldest message, left in the queue; null when it is empty.
  const OutgoingMessage* Front() const { return messages_.empty() ? nullptr : &messages_.front(); }
  std::size_t size() const { return messages_.size(); }
  bool empty() const { return messages_.empty(); }
  std::size_t capacity() const { return capacity_; }
  // Messages dropped since the last call.
  std::size_t TakeDropped();

  // A day of samples at one a second.
  static constexpr std::size_t kDefaultCapacity = 86400;

 private:
  std::size_t capacity_;
  std::deque<OutgoingMessage> messages_;
  std::size_t dropped_ = 0;
};

}  // namespace solardesk::station
