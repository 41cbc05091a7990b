#pragma once

#include <QString>

#include "LineStore.h"
#include "LongLoop.h"

namespace solardesk {

class Instrument;

// The file list as "Open" fills it.
class LoadTarget : public LongLoop {
 public:
  virtual void SetTitle(const QString& title) = 0;
  virtual LineStore& Entries() = 0;
  // Entries were appended since the last call; lets the view catch up.
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
  LineStore& Entries() override { return entries; }
  void EntriesAdded() override {}

  QString caption;
  QString title;
  LineStore entries;
};

struct LoadOutcome {
  bool complete = false;  // false: the file could not be opened, a line had no tab, or the
                          // program ended meanwhile
  int linesRead = 0;      // the header included
};

// Reads a data file into the file list: the first line, whatever it holds, becomes the title
// (its first field right-aligned in 10 characters) and its third field `openedFileUnit`; every
// other line becomes an entry with its record number right-aligned in 10 characters. Leading
// spaces of a line are not significant. A line without a tab ends the reading at once and
// keeps what was read, and so does a file that shrinks while it is read. Both main-window
// timers are suspended while it reads; it stops at its next step once the program is ending.
LoadOutcome LoadDataFile(const QString& path, const QString& title, LoadTarget& list,
                         QString& openedFileUnit, Instrument& instrument);

}  // namespace solardesk
