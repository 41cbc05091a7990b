#include "PollingCycle.h"

namespace solardesk {

bool PollDisplay(MeterLink& link, PubMeter& meter) {
  link.Slots().setCommand(cmd::kQuery, cmd::kQueryDisplay);
  link.TransactReport();
  if (!PublishDisplay(link.InputReport(), meter)) {
    link.LocateMeter();
    return false;
  }
  return true;
}

bool PublishDisplay(const std::vector<std::uint8_t>& report, PubMeter& meter) {
  const auto flags = DecodeDisplayImage(report);
  if (!flags) return false;
  meter.flags = *flags;
  meter.ReadingText = MakeReadingText(*flags);
  meter.ReadingUnit = MakeReadingUnit(*flags);
  meter.everDecoded = true;
  return true;
}

}  // namespace solardesk
