#include "PublishQueue.h"

#include <algorithm>

namespace solardesk::station {

std::optional<OutgoingMessage> PublishQueue::Push(OutgoingMessage message) {
  std::optional<OutgoingMessage> dropped;
  if (capacity_ == 0) {
    dropped = std::move(message);
  } else {
    if (messages_.size() >= capacity_) dropped = Pop();
    if (message.source.InFile()) ++sourced_;
    messages_.push_back(std::move(message));
  }
  if (dropped && !dropped->source.InFile()) ++dropped_;
  return dropped;
}

std::optional<OutgoingMessage> PublishQueue::Pop() {
  if (messages_.empty()) return std::nullopt;
  OutgoingMessage m = std::move(messages_.front());
  if (m.source.InFile()) --sourced_;
  messages_.pop_front();
  return m;
}

void PublishQueue::RemoveSourced() {
  std::erase_if(messages_, [](const OutgoingMessage& m) { return m.source.InFile(); });
  sourced_ = 0;
}

std::size_t PublishQueue::TakeDropped() {
  const std::size_t n = dropped_;
  dropped_ = 0;
  return n;
}

}  // namespace solardesk::station
