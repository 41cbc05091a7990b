#pragma once

#include <QString>

#include "DisplayDecode.h"

namespace solardesk {

// What the polling cycle publishes after every completed tick: the decoded display and the
// reading text and unit that recording, the live list and the live graph sample.
struct PubMeter {
  QString ReadingText;  // four figures or spaces with at most one "."; empty before the first tick
  QString ReadingUnit;  // "W/(M)2", "Btu/(ft)2.h" or empty
  DisplayFlags flags;
  bool everDecoded = false;  // false until the first answer was decoded: the display keeps its
                             // start-up look until then
};

}  // namespace solardesk
