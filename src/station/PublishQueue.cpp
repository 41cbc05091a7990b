#include "PublishQueue.h"

namespace solardesk::station {

bool PublishQueue::Push(OutgoingMessage message) {
  if (capacity_ == 0) {
    ++dropped_;
    return true;
  }
  bool dropped = false;
  if (messages_.size() >= capacity_) {
    messages_.pop_front();
    ++dropped_;
    dropped = true;
  }
  messages_.push_back(std::move(message));
  return dropped;
}

std::optional<OutgoingMessage> PublishQueue::Pop() {
  if (messages_.empty()) return std::nullopt;
  OutgoingMessage m = std::move(messages_.front());
  messages_.pop_front();
  return m;
}

std::size_t PublishQueue::TakeDropped() {
  const std::size_t n = dropped_;
  dropped_ = 0;
  return n;
}

}  // namespace solardesk::station
