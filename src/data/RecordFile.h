#pragma once

#include <QString>
#include <functional>

#include "RecordSeries.h"

namespace solardesk {

struct RecordFileOutcome {
  bool opened = false;
  bool complete = false;  // false: not opened, a line had no tab, or `progress` stopped it
  int linesRead = 0;      // the header included
};

// Reads a data file, in any of its line forms, into `series`: the first line, whatever it
// holds, is the header (SetHeader); every other line a record. Leading spaces of a line are not
// significant; CR LF and LF end lines alike. A line without a tab ends the reading at once and
// keeps the records read so far, and so does a file that shrinks while it is read (its last
// line, cut short, is left out). The file is read a piece at a time, never mapped.
//
// `progress`, when given, is called after each line with the count of lines read so far; false
// stops the reading there.
RecordFileOutcome ReadRecordFile(const QString& path, RecordSeries& series,
                                 const std::function<bool(int linesRead)>& progress = {});

}  // namespace solardesk
