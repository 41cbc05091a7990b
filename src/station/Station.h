#pragma once

#include <QDateTime>
#include <functional>
#include <optional>

#include "DayFiles.h"
#include "EventLog.h"
#include "MeterPoller.h"
#include "SampleFormats.h"

namespace solardesk::station {

// The way of one sample through the station: the meter's reading at the sample time goes into
// the day's data file first, then, with its record number, to whoever publishes it. A sample
// is skipped while the meter is lost or shows no unit; the station says when that starts and
// ends.
class Station {
 public:
  Station(DayFiles& files, EventSink events, std::function<void(const Sample&)> publish = {});

  // Looks at the meter's state and says when it changed. Called often, between samples too, so
  // that a lost or found meter is reported at once.
  void Observe(const MeterReading& reading);
  // Takes the sample due at `t`; the sample handed on, or nothing when it was skipped.
  std::optional<Sample> Take(const QDateTime& t, const MeterReading& reading);

 private:
  DayFiles& files_;
  EventSink events_;
  std::function<void(const Sample&)> publish_;
  std::optional<MeterState> state_;
  bool unitShown_ = true;
};

}  // namespace solardesk::station
