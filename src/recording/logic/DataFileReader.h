#pragma once

#include <QString>

#include "LongLoop.h"
#include "data/RecordSeries.h"

namespace solardesk {

class Instrument;

// The file list as "Open" fills it.
class LoadTarget : public LongLoop {
 public:
  virtual void SetTitle(const QString& title) = 0;
  virtual RecordSeries& Records() = 0;
  // Records were appended since the last call; lets the view catch up.
  virtual void EntriesAdded() = 0;
};

// The file list as a plain store, without a window: for headless readers of data files.
class PlainFileList final : public LoadTarget {
 public:
  QString Caption() const override { return caption; }
  void SetCaption(const QString& text) override { caption = text; }
  void SetBusy(bool) override {}
  void LetEventsRun() override {}
  void SetTitle(const QString& text) override { title = text; }
  RecordSeries& Records() override { return records; }
  void EntriesAdded() override {}

  QString caption;
  QString title;
  RecordSeries records;
};

struct LoadOutcome {
  bool complete = false;  // false: the file could not be opened, a line had no tab, or the
                          // program ended meanwhile
  int linesRead = 0;      // the header included
};

// "Open": reads a data file into the file list through the record reader (RecordFile.h): the
// header line becomes the title and its third field `openedFileUnit`, every other line a
// record. The caption counts "120 completed" while it reads and shows `title` once the whole
// file is read; a reading ended early keeps its records and the count as caption. Both
// main-window timers are suspended while it reads; it stops at its next step once the program
// is ending.
LoadOutcome LoadDataFile(const QString& path, const QString& title, LoadTarget& list,
                         QString& openedFileUnit, Instrument& instrument);

}  // namespace solardesk
