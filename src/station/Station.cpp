#include "Station.h"

#include <QFileInfo>

namespace solardesk::station {

Station::Station(DayFiles& files, EventSink events, std::function<void(const Sample&)> publish)
    : files_(files), events_(std::move(events)), publish_(std::move(publish)) {}

void Station::Observe(const MeterReading& reading) {
  if (state_ == reading.state) return;
  const bool first = !state_.has_value();
  state_ = reading.state;
  switch (reading.state) {
    case MeterState::Answering:
      events_(QStringLiteral("meter found"));
      break;
    case MeterState::NotAnswering:
      events_(first ? QStringLiteral("meter not answering; samples are skipped until it does")
                    : QStringLiteral("meter lost: not answering; samples are skipped"));
      break;
    case MeterState::Absent:
      events_(first ? QStringLiteral("no meter found; samples are skipped until it is plugged in")
                    : QStringLiteral("meter lost: unplugged; samples are skipped"));
      break;
  }
}

std::optional<Sample> Station::Take(const QDateTime& t, const MeterReading& reading) {
  Observe(reading);
  if (reading.state != MeterState::Answering) return std::nullopt;
  const bool unitShown = !reading.unit.isEmpty();
  if (unitShown != unitShown_) {
    events_(unitShown ? QStringLiteral("the meter shows its unit again")
                      : QStringLiteral("the meter shows no unit; samples are skipped"));
    unitShown_ = unitShown;
  }
  if (!unitShown) return std::nullopt;
  const std::optional<long long> record = files_.Write(t, reading.text, reading.unit);
  Sample s{t, reading.text, reading.unit, record,
           record ? QFileInfo(files_.CurrentPath()).fileName() : QString()};
  if (publish_) publish_(s);
  return s;
}

}  // namespace solardesk::station
