#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "link/MeterLink.h"
#include "panel/logic/PubMeter.h"

namespace solardesk::station {

// What the meter is doing as far as the station can tell.
enum class MeterState {
  Answering,     // a display answer came within the last second
  NotAnswering,  // on the bus but silent
  Absent,        // not on the bus (unplugged)
};

struct MeterReading {
  MeterState state = MeterState::Absent;
  QString text;  // the last reading and unit; meaningful while Answering
  QString unit;
};

// Where the station loop learns what the meter shows: the MeterPoller, or a test's own meter.
class MeterSource {
 public:
  virtual ~MeterSource() = default;
  virtual MeterReading Latest() const = 0;
  // The serial number of the meter found last; empty when it reports none.
  virtual QString SerialNumber() const = 0;
};

// Asks the meter for its display every 100 ms in a thread of its own, so that a meter that
// keeps the station waiting for its answer never delays a sample. A lost meter is searched for
// at every poll, so it is found again within a poll of being plugged in. The link belongs to
// the poller's thread while it runs.
class MeterPoller final : public MeterSource {
 public:
  using SteadyClock = std::chrono::steady_clock;

  explicit MeterPoller(MeterLink& link) : link_(link) {}
  ~MeterPoller() { Stop(); }

  void Start();
  void Stop();
  // The reading now: Absent as soon as the meter left the bus; Answering while the last answer
  // is younger than `fresh`.
  MeterReading Latest(std::chrono::milliseconds fresh) const;
  MeterReading Latest() const override { return Latest(std::chrono::milliseconds(1000)); }
  QString SerialNumber() const override;

  static constexpr std::chrono::milliseconds kPollPeriod{100};

 private:
  void PollOnce();
  void Run();

  MeterLink& link_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  PubMeter meter_;
  QString text_, unit_;
  SteadyClock::time_point lastAnswer_{};
  bool everAnswered_ = false;
  bool connected_ = false;
  QString serial_;
};

}  // namespace solardesk::station
