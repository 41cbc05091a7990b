#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "LoggerState.h"
#include "SetDownload.h"

namespace solardesk {

// Record sets laid over one another in one plot: at least two, at most eight.
inline constexpr int kFewestCompared = 2;
inline constexpr int kMostCompared = 8;

// A downloaded record set, kept for the plot rather than listed.
struct ComparedSet {
  int set = 0;
  QString start;      // "20yy/mm/dd hh:nn:ss", the set's start
  QString unit;       // "W/(M)2" or "Btu/(ft)2.h"
  QStringList lines;  // in logger record line form
};

// Why the marked sets cannot be compared; nothing when their number is right.
std::optional<QString> CompareRefusal(int markedSets);

// "Compare": downloads the sets one after another, each as a single download does (timers
// paused, the same guards and messages), without touching the DataList window. Stops at the
// first set that fails, whose message has been shown; nothing is returned then. LoggerUnit
// ends as the last set's unit.
std::optional<std::vector<ComparedSet>> DownloadSetsToCompare(Instrument& instrument,
                                                              LoggerState& state,
                                                              const std::vector<int>& sets,
                                                              const DownloadHooks& hooks);

}  // namespace solardesk
