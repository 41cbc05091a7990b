#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "DataListSink.h"
#include "LoggerState.h"
#include "SetDownload.h"
#include "core/Dialogs.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

// What "Download all..." is about to do: every set with the name of its data file in `folder`,
// and which of them keep a file of that name that is already there (those are not downloaded).
struct DownloadAllPlan {
  QString folder;
  std::vector<int> sets;
  QStringList names;       // SetFileNames of the sets' start texts, in the order of `sets`
  std::vector<bool> keep;  // per set: a file of its name stays as it is
};

// What "Download all..." did.
struct DownloadAllResult {
  int sets = 0;          // how many it was to write
  int written = 0;       // files written
  int kept = 0;          // files of the same names left as they were, as the user chose
  QStringList refused;   // "name: why" for each set the write gate or the disk refused
  bool stopped = false;  // a download failed (its message was shown): the sets after it were
                         // not tried
};

// The question asked when `count` files of the names about to be written are in the folder.
QString ReplaceQuestion(int count);

// Names each of `sets` (set numbers, their start texts in `state`) and asks once, through
// `dialogs`, whether the files of those names already in `folder` may be replaced. Files whose
// names are being written are left out of the question: the write gate refuses them anyway.
DownloadAllPlan PlanDownloadAll(Dialogs& dialogs, const QString& folder,
                                const std::vector<int>& sets, const LoggerState& state);

// Downloads the sets of `plan` one after another, each as a single download does, and writes
// each through `files` (the layout a DataList "Save" writes, through the write gate). Sets whose
// files are kept are not downloaded. Stops at the first set that cannot be downloaded, or when
// the program ends.
DownloadAllResult DownloadAllSets(Instrument& instrument, LoggerState& state,
                                  const DownloadAllPlan& plan, DataListSink& files,
                                  const DownloadHooks& hooks);

// The closing message: "2 of 3 record sets written to /data/logger.", the files kept and the
// names refused with the reason.
QString DownloadAllSummary(const DownloadAllResult& result, const QString& folder);

// True when every set was written, or kept as the user chose.
bool DownloadAllComplete(const DownloadAllResult& result);

}  // namespace solardesk
