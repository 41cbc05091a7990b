#pragma once

#include <QDateTime>
#include <cstddef>

#include "MeterPoller.h"
#include "SampleFormats.h"

namespace solardesk::station {

// Who shows the station (its web page): told what the loop sees, never waited for.
class StationObserver {
 public:
  virtual ~StationObserver() = default;
  virtual void SetMeter(MeterState state, const QDateTime& now) = 0;
  virtual void SetBroker(bool connected, std::size_t waiting) = 0;
  // A sample written to the day file.
  virtual void AddSample(const Sample& s) = 0;
};

}  // namespace solardesk::station
