#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "logger/logic/LoggerDirectory.h"
#include "logger/logic/LoggerState.h"
#include "panel/logic/Instrument.h"
#include "setup/logic/SetupExchanges.h"

using namespace solardesk;

// Any bytes as the meter's answers: the first byte chooses the input report length (1 to 80),
// the rest is what the meter answers to every query. The display decode and every reader of
// the meter's answers (settings and calibration, clock, both schedules, logger status, set
// count and entries) must take them without reading past the end of the report; a start text
// from a report too short to hold it is cut, never padded with bytes from beyond.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int inputLength = 1 + data[0] % 80;
  fuzz::EnsureApplication();
  fuzz::ReplayBackend backend(std::vector<std::uint8_t>(data + 1, data + size), inputLength);
  ManualClock clock;
  NoDialogs dialogs;
  Instrument instrument(backend, clock, dialogs);

  if (instrument.PollTick()) {
    const QString text = instrument.meter.ReadingText;
    if (text.size() < 4 || text.size() > 5) __builtin_trap();
  }
  const int calibration = ReadCalibration(instrument);
  if (calibration < 0 || calibration > 65535) __builtin_trap();
  for (const QString& field : ReadReservation(instrument)) {
    if (field.size() != 2) __builtin_trap();
  }
  for (const QString& field : ReadCycling(instrument)) {
    if (field.size() != 2) __builtin_trap();
  }
  if (ReadMeterClock(instrument).size() != 17) __builtin_trap();
  LoggerState state;
  ReadLoggerDirectory(instrument, state, {});
  for (int set = 1; set <= instrument.LoggerSetCount; ++set) {
    if (state.SetStartText(set).size() > 17) __builtin_trap();
  }
  return 0;
}
