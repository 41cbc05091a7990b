#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "station/MeterPoller.h"
#include "station/SampleFormats.h"
#include "station/StationObserver.h"

namespace solardesk::station::web {

// What the station's page shows of the station at one moment, copied out under the view's lock.
struct StationSnapshot {
  int intervalSeconds = 1;
  QDateTime started;
  std::optional<Sample> last;  // the last sample written
  MeterState meter = MeterState::Absent;
  QDateTime meterLostSince;  // when the meter stopped answering; invalid while it answers
  bool brokerSet = false;    // a broker was given
  bool brokerConnected = false;
  std::size_t waiting = 0;  // samples not yet acknowledged by the broker
};

// "live"; "meter lost since 14:03:07" while the meter does not answer; "no sample since
// 14:03:07" when no sample came for two intervals and two seconds (the time of the last
// sample, or of the start when there was none).
QString StatusText(const StationSnapshot& s, const QDateTime& now);

// The samples waiting for one reader of the event stream: a bounded queue, the oldest dropped
// when a reader falls behind, so that a reader that reads nothing costs the station nothing.
class EventQueue {
 public:
  static constexpr std::size_t kCapacity = 64;
  void Push(const QByteArray& line);
  // Waits at most `wait` for lines; gives those there (none at the time-out or once closed).
  std::vector<QByteArray> Take(std::chrono::milliseconds wait);
  void Close();
  bool Closed() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<QByteArray> lines_;
  bool closed_ = false;
};

// The station's state as the sampling loop sees it, shared with the web server's threads. The
// sampling loop only sets small values and hands on samples under a short lock; it never
// waits for a reader.
class StationView final : public StationObserver {
 public:
  StationView(int intervalSeconds, bool brokerSet, QDateTime started);

  void SetMeter(MeterState state, const QDateTime& now) override;
  void SetBroker(bool connected, std::size_t waiting) override;
  // A sample written: kept as the last one and handed to every reader of the event stream.
  void AddSample(const Sample& s) override;

  StationSnapshot Snapshot() const;

  // A reader of the event stream; nothing when `limit` readers are there already.
  std::shared_ptr<EventQueue> Subscribe(std::size_t limit);
  void Unsubscribe(const std::shared_ptr<EventQueue>& queue);
  // Ends every reader (at the server's stop).
  void CloseAll();

 private:
  mutable std::mutex mutex_;
  StationSnapshot state_;
  std::vector<std::shared_ptr<EventQueue>> readers_;
};

}  // namespace solardesk::station::web
