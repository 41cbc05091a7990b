#pragma once

#include <QString>
#include <functional>
#include <map>
#include <optional>

#include "AckedRecords.h"
#include "SampleFormats.h"
#include "data/RecordSeries.h"

namespace solardesk::station {

// Reads the samples the broker still lacks back from the day files, oldest first, through the
// record reader of `data`, holding one day file in memory at a time: so an outage of any length
// costs the memory of one day file, not of every sample it held back.
class BacklogReader {
 public:
  explicit BacklogReader(QString folder) : folder_(std::move(folder)) {}

  // The next record after the last one given, from day file `from` on and up to `upTo`
  // (included), that `skip` does not pass over; its `file` set. Nothing when there is none now:
  // more may come when `upTo` moves on. `sent` tells a file sent whole, which is not read.
  std::optional<Sample> Next(const QString& from, const RecordPosition& upTo,
                             const std::function<bool(const RecordPosition&)>& skip,
                             const std::function<bool(const QString&)>& sent);

  // The number of the last record of each day file in `folder` from `from` on.
  static std::map<QString, long long> LastRecords(const QString& folder, const QString& from);

 private:
  bool Load(const QString& name);

  QString folder_;
  QString file_;  // the file in memory
  RecordSeries records_;
  int next_ = 0;            // the next record of records_ to look at
  long long lastSeen_ = 0;  // the number of the last record looked at
  qint64 size_ = 0;         // of the file when it was read
};

}  // namespace solardesk::station
