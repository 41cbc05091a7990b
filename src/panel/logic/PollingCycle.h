#pragma once

#include "PubMeter.h"
#include "link/MeterLink.h"

namespace solardesk {

// One polling tick (without its window side): the display query, the decode, the reading text
// and unit. When there is no answer to decode (none ever received, or one shorter than the
// image) the meter is searched for once more and the published state is left as it was.
// Returns true when the display was decoded and the window should redraw.
bool PollDisplay(MeterLink& link, PubMeter& meter);

// Decodes a display answer into the published state; false (state unchanged) when the answer
// is too short to hold the image.
bool PublishDisplay(const std::vector<std::uint8_t>& report, PubMeter& meter);

}  // namespace solardesk
