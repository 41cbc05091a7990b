#pragma once

#include <QFile>
#include <QString>
#include <functional>

#include "LineStore.h"
#include "LongLoop.h"

namespace solardesk {

class Instrument;

// The data file being recorded. Every line reaches the operating system as soon as it is
// written, so that a crash or a power cut loses at most the line being written.
class RecordFile {
 public:
  // Creates (or overwrites) the file for writing; false when it cannot be created.
  bool Create(const QString& path);
  bool WriteHeader(const QString& unit);
  bool WriteRecord(float number, const QString& dateTime, const QString& value);
  void Close() { file_.close(); }
  bool IsOpen() const { return file_.isOpen(); }

 private:
  bool WriteLine(const QString& text);
  QFile file_;
};

// Writes `count` lines, each followed by CR LF, to a new file at `path`, showing
// `progressText(i)` after line i in the window's caption at a readable pace. Any error ends the
// writing at once. The caller restores the caption. True when every line was written.
bool WriteLinesToFile(const QString& path, int count,
                      const std::function<QByteArrayView(int)>& lineAt,
                      const std::function<QString(int)>& progressText, ProgressPacer& pacer);

// Writes rows 0 (the header) to `lastRow` of a list in list form to `path`, with the caption
// counting "25Records Completed", the busy pointer shown and both main-window timers suspended;
// restores caption, pointer and timers afterwards, also after an error.
bool SaveListToFile(const LineStore& rows, int lastRow, const QString& path, LongLoop& window,
                    Instrument& instrument);

// Writes a logger list: the title line, then every entry, with the caption counting
// "3Records Completed" from the first entry on; the same suspension and restoring as above.
bool SaveLoggerListToFile(const QString& title, const LineStore& entries, const QString& path,
                          LongLoop& window, Instrument& instrument);

}  // namespace solardesk
