#pragma once

namespace solardesk {

class Instrument;

// The meter's own logging interval. The settings query answers it in byte 1, in seconds; a
// read the meter does not answer gives byte 1 of the last input report held.
int ReadMeterInterval(Instrument& instrument);
// Sets the logging interval to `seconds` (1..60, one byte); no answer is read.
void WriteMeterInterval(Instrument& instrument, int seconds);

}  // namespace solardesk
