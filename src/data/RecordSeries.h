#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <cmath>
#include <optional>
#include <vector>

#include "LineStore.h"
#include "LocalTimeline.h"

namespace solardesk {

// The first three tab-separated fields of a record line as written (number, date-time,
// reading); missing ones are empty.
struct RecordFields {
  QByteArrayView number, time, reading;
};
RecordFields SplitRecord(QByteArrayView line);

// The record number of a line: a whole number from 1 on; nothing otherwise.
std::optional<qint64> RecordNumber(QByteArrayView line);

// The width the lists give a record number: right-aligned in 10 characters.
inline constexpr int kRecordNumberWidth = 10;

// The records of a data file, a downloaded logger set or the live list, read once: per record
// its list entry (the number right-aligned in 10 characters, a tab, the rest of the line as
// written), its instant (wall-clock times placed in sequence across clock changes by
// LocalTimeline, the system time zone) and its value when the reading is a number.
//
// A reading that is no number ("----", "OL", a blank, "1,5", "12abc") is unreadable: it has no
// value, it counts in `unreadable()`, and a plot leaves a break there. So is a record whose time
// cannot be read or names a wall-clock time that the clock skipped.
class RecordSeries {
 public:
  RecordSeries() = default;
  explicit RecordSeries(int (*utcOffset)(qint64 utc)) : timeline_(utcOffset) {}

  // The header line as the lists show it (its first field right-aligned in 10 characters, a
  // tab, the rest) and its third field as written: the unit right-aligned in 15 characters.
  // Both empty until SetHeader.
  void SetHeader(QByteArrayView line);
  const QString& title() const { return title_; }
  const QString& unit() const { return unit_; }
  bool hasHeader() const { return hasHeader_; }

  // Adds a record line in any of the data file's forms (recording, list, logger) or a list
  // entry; leading spaces are not significant. A line without a tab is no record: false, and
  // nothing is added.
  bool Append(QByteArrayView line);
  void reserve(qsizetype bytes, int records);

  int count() const { return entries_.count(); }
  bool empty() const { return entries_.empty(); }
  // The list entry of record `i` (from 0), as the file list shows and prints it.
  QByteArrayView entry(int i) const { return entries_.bytes(i); }
  const LineStore& entries() const { return entries_; }
  // Number, date-time and reading of record `i` as written (the number without its padding).
  RecordFields fields(int i) const;
  // The value of record `i`'s reading; NaN when it is no number.
  double value(int i) const { return values_[static_cast<std::size_t>(i)]; }
  bool hasValue(int i) const { return !std::isnan(value(i)); }
  // When record `i` was taken; nothing when its time cannot be read or was skipped.
  std::optional<Instant> instant(int i) const;
  // Records without a value or without an instant.
  qint64 unreadable() const { return unreadable_; }

 private:
  static constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();

  QString title_;
  QString unit_;
  bool hasHeader_ = false;
  LineStore entries_;
  std::vector<double> values_;
  std::vector<qint64> utc_;
  std::vector<int> offsets_;
  qint64 unreadable_ = 0;
  LocalTimeline timeline_;
};

// Records of lines already in list form (the live list's rows, a DataList's entries), from
// line `first` on (the live list's row 0 is its header).
RecordSeries RecordSeriesOfLines(const LineStore& lines, int first = 0);

}  // namespace solardesk
