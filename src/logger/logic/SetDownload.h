#pragma once

#include <cstdint>
#include <functional>
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
  NotConnected,  // no meter to send the request to: nothing listed
  MeterStopped,  // a block did not arrive: nothing listed
  Unreadable,    // the set holds no readable data: nothing listed
  Ended,         // the program ended during the download: nothing listed, nothing said
};

// The length a download asks for: the announced one, but never more than the logger holds
// (its capacity of `capacityKb` kilobytes), whatever the meter claims.
std::uint32_t TrustedSetLength(std::uint32_t announced, std::uint32_t capacityKb);

// Requests set `setNumber` and collects its blocks, one input report each, into `stream`, which
// grows with the blocks actually received. Listed when every block arrived. The timers are left
// as they are; the caller pauses them.
DownloadOutcome ReceiveLoggerSet(Instrument& instrument, int setNumber, std::uint32_t setLength,
                                 const DownloadHooks& hooks, std::vector<std::uint8_t>& stream);

// A click on a set of the Memory window: closes an open DataList, downloads the set with the
// timers paused, decodes it and fills a fresh DataList window, setting state.LoggerUnit. A
// download that fails says why in a message box and lists nothing. The timers run again
// afterwards on every path, unless the program ended meanwhile: the download then stops at
// its next step without a word.
DownloadOutcome DownloadLoggerSet(Instrument& instrument, LoggerState& state, int setNumber,
                                  DataListSink& dataList, const DownloadHooks& hooks);

}  // namespace solardesk
