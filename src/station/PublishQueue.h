#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <deque>
#include <optional>

#include "AckedRecords.h"

namespace solardesk::station {

struct OutgoingMessage {
  QString topic;
  QByteArray payload;
  bool retain = false;
  RecordPosition source = {};  // the sample's record in the day files
};

// The messages waiting for the broker, oldest first, at most `capacity` of them: when it is
// full, a new message pushes the oldest out, and the queue counts what it dropped. A message
// whose sample is in a day file is not lost by being dropped, and not counted.
class PublishQueue {
 public:
  explicit PublishQueue(std::size_t capacity) : capacity_(capacity) {}

  // The oldest message when it had to go to make room.
  std::optional<OutgoingMessage> Push(OutgoingMessage message);
  // Takes out every message whose sample is in a day file.
  void RemoveSourced();
  // Messages whose sample is in no day file.
  std::size_t Unsourced() const { return messages_.size() - sourced_; }
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
  std::size_t sourced_ = 0;
};

}  // namespace solardesk::station
