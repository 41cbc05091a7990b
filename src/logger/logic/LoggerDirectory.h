#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "LoggerState.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

// The logger's capacity as the Memory window shows it.
struct LoggerCapacity {
  std::uint32_t capacityKb = 0;  // A
  std::uint32_t freeKb = 0;      // B, 0 when the memory counts as full
  int usedPercent = 0;           // the gauge MSize, 0..100
  double usedShare = 0;          // the same fill in percent, not rounded
  QString caption;               // "Capacity : N MB"
};

// At this many sets, or at this little free space, the memory counts as full.
inline constexpr int kMostLoggerSets = 150;
inline constexpr std::uint32_t kFreeSpaceFloorKb = 10240;

// The capacity shown for capacity A and free space B (both in KB) with `setCount` sets stored.
LoggerCapacity CapacityFor(std::uint32_t capacityKb, std::uint32_t freeKb, int setCount);

// What the directory read asks of the Memory window; a headless caller may leave any empty.
struct DirectoryHooks {
  // Close an open DataList and Memory window, open a fresh Memory window showing `capacity`.
  std::function<void(const LoggerCapacity& capacity)> openMemory;
  // The progress bar MBar, 0..100.
  std::function<void(int percent)> progress;
  // One row of the set list.
  std::function<void(int set, const QString& startText)> addSet;
};

// "Logger": reads the logger status, the set count and one entry per set into `state` and
// instrument.LoggerSetCount, with the timers paused throughout. With nothing stored it says
// "No Data in Memory!", and with a meter that does not answer now "The meter is not connected."
// (none found) or "The meter is not answering." (found but silent); then it opens no window.
// True when the Memory window was opened.
bool ReadLoggerDirectory(Instrument& instrument, LoggerState& state, const DirectoryHooks& hooks);

// The erase question, then on OK: timers paused, the erase command `code` (0x10, or 0x16 for
// the second erase command) sent, `afterSend` run, timers running again. True when sent; a meter
// that is absent or silent is not sent to, and the message says which.
bool ConfirmAndErase(Instrument& instrument, unsigned code, const std::function<void()>& afterSend);

// "Erase": the whole logger memory, closing the Memory window (`closeMemory`) whose contents
// are then stale.
bool EraseLogger(Instrument& instrument, const std::function<void()>& closeMemory);

}  // namespace solardesk
