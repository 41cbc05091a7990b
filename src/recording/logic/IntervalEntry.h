#pragma once

#include <QString>
#include <optional>

namespace solardesk {

inline constexpr int kMaxPcInterval = 86400;  // seconds
inline constexpr int kMaxMeterInterval = 60;  // seconds

// An interval typed into the input box: the nearest whole number of seconds (halves to the even
// neighbour), clamped to 1..`maxSeconds`. Nothing when the entry is not a number.
std::optional<int> IntervalFromEntry(const QString& entry, int maxSeconds);

}  // namespace solardesk
