#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace solardesk {

// Report lengths read from a HID report descriptor, counted as the meter link counts them: the
// longest report of each kind plus the report ID byte (present even for unnumbered reports).
struct ReportLengths {
  int input = 0;
  int output = 0;
  bool numbered = false;  // the device uses report IDs
};

// Parses a report descriptor. Nothing when the bytes are not a well-formed descriptor (a short
// item cut off, a pop without push, report IDs of 0, sizes that overflow).
std::optional<ReportLengths> ParseReportDescriptor(const std::vector<std::uint8_t>& descriptor);

// The lengths used when a descriptor cannot be read or parsed.
inline constexpr ReportLengths kFallbackReportLengths{65, 65, false};

}  // namespace solardesk
