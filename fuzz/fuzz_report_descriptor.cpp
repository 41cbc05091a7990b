#include <cstddef>
#include <cstdint>

#include "link/ReportDescriptor.h"

// Any bytes as a HID report descriptor: the parser must refuse or measure, never crash, and a
// measured length must be one a report buffer can be made of.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> descriptor(data, data + size);
  const auto lengths = solardesk::ParseReportDescriptor(descriptor);
  if (lengths && (lengths->input < 0 || lengths->output < 0 || lengths->input > (1 << 22)))
    __builtin_trap();
  return 0;
}
