#pragma once

#include <memory>

#include "VirtualHidBackend.h"

namespace solardesk::sim {

// The virtual meter of the demo: one meter on the virtual bus, following the sun, with three
// record sets in its logger.
std::shared_ptr<VirtualMeter> MakeDemoMeter(const Clock& clock);
std::unique_ptr<VirtualHidBackend> MakeDemoBus(const Clock& clock);

}  // namespace solardesk::sim
