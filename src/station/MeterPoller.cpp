#include "MeterPoller.h"

#include "panel/logic/PollingCycle.h"

namespace solardesk::station {

void MeterPoller::Start() {
  stop_ = false;
  PollOnce();  // the station starts knowing whether the meter is there
  thread_ = std::thread([this] { Run(); });
}

void MeterPoller::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void MeterPoller::PollOnce() {
  // A failed read keeps the previous answer in the link: only a poll that left the meter
  // connected got a new one.
  const bool answered = PollDisplay(link_, meter_) && link_.MeterConnected();
  // Tells a silent meter (still on the bus) from an unplugged one.
  if (!answered && !link_.MeterConnected()) link_.LocateMeter();
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    connected_ = link_.MeterConnected();
    if (connected_) serial_ = QString::fromStdString(link_.SerialNumber());
    if (answered) {
      text_ = meter_.ReadingText;
      unit_ = meter_.ReadingUnit;
      lastAnswer_ = SteadyClock::now();
      everAnswered_ = true;
    }
  }
}

void MeterPoller::Run() {
  auto next = SteadyClock::now();
  while (!stop_) {
    next += kPollPeriod;
    const auto now = SteadyClock::now();
    if (next < now) next = now;  // a slow answer: carry on from now, no burst of polls
    std::this_thread::sleep_until(next);
    PollOnce();
  }
}

MeterReading MeterPoller::Latest(std::chrono::milliseconds fresh) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  MeterReading r;
  r.text = text_;
  r.unit = unit_;
  if (!connected_) {
    r.state = MeterState::Absent;  // gone from the bus: no reading, however recent
  } else if (everAnswered_ && SteadyClock::now() - lastAnswer_ < fresh) {
    r.state = MeterState::Answering;
  } else {
    r.state = MeterState::NotAnswering;
  }
  return r;
}

QString MeterPoller::SerialNumber() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return serial_;
}

}  // namespace solardesk::station
