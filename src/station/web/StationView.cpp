#include "StationView.h"

#include <algorithm>

namespace solardesk::station::web {

QString StatusText(const StationSnapshot& s, const QDateTime& now) {
  if (s.meter != MeterState::Answering && s.meterLostSince.isValid())
    return QStringLiteral("meter lost since %1").arg(s.meterLostSince.toString(u"HH:mm:ss"));
  const QDateTime since = s.last ? s.last->time : s.started;
  if (since.secsTo(now) > 2LL * s.intervalSeconds + 2)
    return QStringLiteral("no sample since %1").arg(since.toString(u"HH:mm:ss"));
  return QStringLiteral("live");
}

void EventQueue::Push(const QByteArray& line) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) return;
    if (lines_.size() >= kCapacity) lines_.pop_front();
    lines_.push_back(line);
  }
  ready_.notify_one();
}

std::vector<QByteArray> EventQueue::Take(std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  ready_.wait_for(lock, wait, [this] { return closed_ || !lines_.empty(); });
  std::vector<QByteArray> out(lines_.begin(), lines_.end());
  lines_.clear();
  return out;
}

void EventQueue::Close() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
  }
  ready_.notify_all();
}

bool EventQueue::Closed() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

StationView::StationView(int intervalSeconds, bool brokerSet, QDateTime started) {
  state_.intervalSeconds = intervalSeconds;
  state_.brokerSet = brokerSet;
  state_.started = std::move(started);
}

void StationView::SetMeter(MeterState state, const QDateTime& now) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (state == state_.meter) return;
  const bool wasAnswering = state_.meter == MeterState::Answering;
  state_.meter = state;
  if (state == MeterState::Answering)
    state_.meterLostSince = QDateTime();
  else if (wasAnswering || !state_.meterLostSince.isValid())
    state_.meterLostSince = now;
}

void StationView::SetBroker(bool connected, std::size_t waiting) {
  const std::lock_guard<std::mutex> lock(mutex_);
  state_.brokerConnected = connected;
  state_.waiting = waiting;
}

void StationView::AddSample(const Sample& s) {
  const QByteArray line = SampleJson(s);
  std::vector<std::shared_ptr<EventQueue>> readers;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    state_.last = s;
    readers = readers_;
  }
  for (const auto& r : readers) r->Push(line);
}

StationSnapshot StationView::Snapshot() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return state_;
}

std::shared_ptr<EventQueue> StationView::Subscribe(std::size_t limit) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (readers_.size() >= limit) return nullptr;
  readers_.push_back(std::make_shared<EventQueue>());
  return readers_.back();
}

void StationView::Unsubscribe(const std::shared_ptr<EventQueue>& queue) {
  const std::lock_guard<std::mutex> lock(mutex_);
  readers_.erase(std::remove(readers_.begin(), readers_.end(), queue), readers_.end());
}

void StationView::CloseAll() {
  std::vector<std::shared_ptr<EventQueue>> readers;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    readers.swap(readers_);
  }
  for (const auto& r : readers) r->Close();
}

}  // namespace solardesk::station::web
