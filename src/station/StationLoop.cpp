#include "StationLoop.h"

#include <thread>

namespace solardesk::station {

StationLoop::StationLoop(int intervalSeconds, const Clock& clock, EventSink events, DayFiles& files,
                         const MeterSource& meter, PublisherFactory publisher,
                         StationObserver* observer)
    : clock_(clock),
      events_(std::move(events)),
      files_(files),
      meter_(meter),
      makePublisher_(std::move(publisher)),
      observer_(observer),
      scheduler_(intervalSeconds),
      station_(files_, events_,
               [this](const Sample& s) {
                 if (!publisher_) return;
                 publisher_->SetUnit(s.unit);
                 publisher_->Publish(s);
               }),
      due_(scheduler_.NextAtOrAfter(clock.now())) {}

StationLoop::~StationLoop() {
  Finish(0);
}

std::optional<std::chrono::milliseconds> StationLoop::Step(QString* error) {
  const MeterReading reading = meter_.Latest();
  station_.Observe(reading);
  const bool answering = reading.state == MeterState::Answering;
  // The topics name the meter, so the broker is first met once the meter was found.
  if (makePublisher_ && !publisher_ && answering) {
    publisher_ = makePublisher_(meter_.SerialNumber(), error);
    if (!publisher_) {
      makePublisher_ = {};
      return std::nullopt;
    }
  }
  if (publisher_) publisher_->SetMeterOnline(answering);
  if (observer_) {
    observer_->SetMeter(reading.state, clock_.now());
    if (publisher_) observer_->SetBroker(publisher_->Connected(), publisher_->Waiting());
  }
  if (reopen_.exchange(false)) {
    files_.Close();
    events_(QStringLiteral("data file closed, to be opened again at the next sample"));
  }
  const QDateTime now = clock_.now();
  if (now < due_) return std::min(kNap, std::chrono::milliseconds(now.msecsTo(due_)));
  // After a hold-up, the latest sample time is taken, once.
  long long missed = 0;
  for (QDateTime next = scheduler_.After(due_); next <= now && missed <= kMaxMissedCounted;
       next = scheduler_.After(due_)) {
    due_ = next;
    ++missed;
  }
  if (missed > 0) {
    missed_ += missed;
    events_(QStringLiteral("%1 samples skipped: the station was held up").arg(missed));
  }
  const std::optional<Sample> sample = station_.Take(due_, reading);
  if (sample && observer_) observer_->AddSample(*sample);
  due_ = scheduler_.After(due_);
  return std::chrono::milliseconds(0);
}

bool StationLoop::Run(const std::atomic<bool>& stop, QString* error) {
  while (!stop) {
    const std::optional<std::chrono::milliseconds> wait = Step(error);
    if (!wait) return false;
    if (wait->count() > 0) std::this_thread::sleep_for(*wait);
  }
  return true;
}

void StationLoop::Finish(int waitMs) {
  if (finished_) return;
  finished_ = true;
  files_.Close();
  if (publisher_) publisher_->Stop(waitMs);
}

}  // namespace solardesk::station
