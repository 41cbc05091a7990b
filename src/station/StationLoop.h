#pragma once

#include <QDateTime>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "DayFiles.h"
#include "EventLog.h"
#include "MeterPoller.h"
#include "MqttPublisher.h"
#include "SampleScheduler.h"
#include "Station.h"
#include "StationObserver.h"
#include "core/Clock.h"

namespace solardesk::station {

// Makes and starts the publisher once the meter is known (its topics name the meter by its
// serial number); null, with the reason, when it cannot be started.
using PublisherFactory =
    std::function<std::unique_ptr<MqttPublisher>(const QString& serial, QString* error)>;

// The station's sampling loop: looks at the meter and the clock, takes each sample when it is
// due (into the day file, then to the publisher and the observer), counts the samples a hold-up
// (a suspended machine) made it miss, starts the publisher once the meter answers and reopens
// the day file when asked (SIGHUP). Time comes from the clock alone: a test turns it by Step on
// a manual clock, the program by Run.
class StationLoop {
 public:
  StationLoop(int intervalSeconds, const Clock& clock, EventSink events, DayFiles& files,
              const MeterSource& meter, PublisherFactory publisher = {},
              StationObserver* observer = nullptr);
  ~StationLoop();

  // One look at the meter and the clock, with the sample when one is due. How long to wait
  // before the next look, or nothing when the station cannot go on (`error` says why).
  std::optional<std::chrono::milliseconds> Step(QString* error);
  // Steps until `stop` is set, sleeping between the looks; false (with `error`) when the
  // station could not go on.
  bool Run(const std::atomic<bool>& stop, QString* error);
  // Closes the day file and stops the publisher, giving its waiting messages up to `waitMs`.
  void Finish(int waitMs);

  // The day file is closed at the next look and opened again at the next sample. Safe to call
  // from a signal handler.
  void RequestReopen() { reopen_ = true; }

  // Samples missed because the loop was held up, since the start.
  long long Missed() const { return missed_; }
  MqttPublisher* Publisher() const { return publisher_.get(); }

  // The longest the loop sleeps between looks at the meter and the broker.
  static constexpr std::chrono::milliseconds kNap{50};
  // At most this many missed samples are counted after one hold-up.
  static constexpr long long kMaxMissedCounted = 86400;

 private:
  const Clock& clock_;
  EventSink events_;
  DayFiles& files_;
  const MeterSource& meter_;
  PublisherFactory makePublisher_;
  StationObserver* observer_;
  SampleScheduler scheduler_;
  std::unique_ptr<MqttPublisher> publisher_;
  Station station_;
  QDateTime due_;
  long long missed_ = 0;
  bool finished_ = false;
  std::atomic<bool> reopen_{false};
};

}  // namespace solardesk::station
