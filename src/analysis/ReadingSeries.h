#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>
#include <vector>

#include "LocalTimeline.h"

namespace solardesk {

class LineStore;

// A reading as a number: the value text without the blanks around it is a decimal number (a
// sign, figures with at most one point, an exponent), read the same under every locale. Blank,
// "OL", dashes, "1,5" and anything else the meter may show are no number.
std::optional<double> ReadingValue(QByteArrayView text);

// The first three tab-separated fields of a list entry (number, date-time, value); missing
// ones are empty.
struct EntryFields {
  QByteArrayView number, time, value;
};
EntryFields SplitEntry(QByteArrayView entry);

// The readable samples of a list, in list order: when each was taken and what it read.
struct ReadingSeries {
  std::vector<qint64> instants;  // UTC seconds
  std::vector<int> offsets;      // UTC offset of each instant's wall clock
  std::vector<double> values;
  std::vector<int> entries;  // the list entry each sample comes from, counted from 0
  // Entries skipped: the reading is no number, or the time cannot be read or was skipped by
  // the clock.
  qint64 unreadable = 0;

  std::size_t size() const { return values.size(); }
  Instant instant(std::size_t i) const { return {instants[i], offsets[i]}; }
};

// The samples of list entries laid out as data files and list windows hold them (number, tab,
// date-time, tab, value, tab): the file list, the DataList and the live list's rows alike.
// Entries before `first` (a header row) are left out.
ReadingSeries ReadSeries(const LineStore& entries, int first = 0);

}  // namespace solardesk
