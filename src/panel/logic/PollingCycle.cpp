#include "PollingCycle.h"

namespace solardesk {

bool PollDisplay(MeterLink& link, PubMeter& meter) {
  link.Slots().setCommand(cmd::kQuery, cmd::kQueryDisplay);
  link.TransactReport();
  const auto flags = DecodeDisplayImage(link.InputReport());
  if (!flags) {
    link.LocateMeter();
    return false;
  }
  meter.flags = *flags;
  meter.ReadingText = MakeReadingText(*flags);
  meter.ReadingUnit = MakeReadingUnit(*flags);
  meter.everDecoded = true;
  return true;
}

}  // namespace solardesk
