#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <functional>

#include "DiskSync.h"
#include "LineStore.h"
#include "LongLoop.h"

namespace solardesk {

class Instrument;

// The data file being recorded. Every line reaches the operating system as soon as it is
// written, so a crash of the program loses at most the line being written; the file is handed
// on to the disk at least every kSyncPeriodSecs seconds and when it is closed, so a power cut
// loses at most the lines of the last few seconds. A line that cannot be written whole is cut
// off again, so the next line starts where it belongs.
class RecordFile {
 public:
  ~RecordFile() { Close(); }
  // Creates (or overwrites) the file for writing; false when it cannot be created.
  bool Create(const QString& path);
  bool WriteHeader(const QString& unit);
  bool WriteRecord(float number, const QString& dateTime, const QString& value);
  // Starts a sync to the disk when the last one began kSyncPeriodSecs or more before `now`.
  void SyncIfDue(const QDateTime& now);
  // Syncs and closes the file.
  void Close();
  bool IsOpen() const { return file_.isOpen(); }
  // The file open now, or the one that could not be created last.
  QString Path() const { return file_.fileName(); }
  // Why the last write or creation failed: "Disk full", or the system's message.
  QString ErrorText() const { return error_; }
  const DiskSync& sync() const { return sync_; }

  static constexpr int kSyncPeriodSecs = 10;

 private:
  bool WriteLine(const QString& text);
  QFile file_;
  qint64 goodSize_ = 0;  // bytes of whole lines in the file
  QString error_;
  QDateTime lastSync_;
  DiskSync sync_;
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
