#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "DataListSink.h"
#include "LoggerState.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

// What a download asks of the window running it; a headless caller may leave either empty.
struct DownloadHooks {
  std::function<void(int percent)> progress;  // MBar: 0..25 for the blocks, 25..100 for lines
  std::function<void()> letEventsRun;         // keeps the windows responsive
};

enum class DownloadOutcome {
  Listed,        // the set's lines went to the DataList window
  MeterStopped,  // a block did not arrive: nothing listed
  Unreadable,    // the set holds no readable data: nothing listed
};

// Requests set `setNumber` and collects its blocks, one input report each. The stream grows
// with the blocks actually received. Nothing when the meter was not connected for the request
// or a block did not arrive (the read timed out or the meter is gone). The timers are left as
// they are; the caller pauses them.
std::optional<std::vector<std::uint8_t>> ReceiveLoggerSet(Instrument& instrument, int setNumber,
                                                          std::uint32_t setLength,
                                                          const DownloadHooks& hooks);

// A click on a set of the Memory window: closes an open DataList, downloads the set with the
// timers paused, decodes it and fills a fresh DataList window, setting state.LoggerUnit. A
// download that fails says why in a message box and lists nothing. The timers run again
// afterwards on every path.
DownloadOutcome DownloadLoggerSet(Instrument& instrument, LoggerState& state, int setNumber,
                                  DataListSink& dataList, const DownloadHooks& hooks);

}  // namespace solardesk
