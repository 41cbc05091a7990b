#include "MeterInterval.h"

#include "link/Commands.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

int ReadMeterInterval(Instrument& instrument) {
  instrument.byteSlots.setCommand(cmd::kQuery, cmd::kQuerySettings);
  instrument.link.TransactReport();
  return instrument.link.InputByte(1);
}

void WriteMeterInterval(Instrument& instrument, int seconds) {
  instrument.byteSlots.setCommand(cmd::kAction, cmd::kSetInterval);
  instrument.byteSlots.setParameters(3, {static_cast<unsigned>(seconds)});
  instrument.link.SendOutputReport();
}

}  // namespace solardesk
