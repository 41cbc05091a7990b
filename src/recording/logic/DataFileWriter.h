#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <functional>
#include <memory>
#include <utility>

#include "LineStore.h"
#include "LongLoop.h"
#include "core/WriteGate.h"

namespace solardesk {

class Instrument;

// The data file being recorded, written through the WriteGate. Every line reaches the operating
// system as soon as it is written, so a crash of the program loses at most the line being
// written; the file is handed on to the disk at least every kSyncPeriodSecs seconds and when it is
// closed, so a power cut loses at most the lines of the last few seconds. A line that cannot be
// written whole is cut off again, so the next line starts where it belongs. The header comes
// before any record: a file whose header could not be written yet takes it before its next
// record. A file whose name no longer leads to it (removed, or replaced by an editor) is made
// again under that name, with its header, at the next record.
class RecordFile {
 public:
  ~RecordFile() { Close(); }
  // Claims `path` for a recording in `unit` and writes the header. False when the file cannot
  // be opened (or is in use): ErrorText() says why. A header that cannot be written leaves the
  // file claimed but counted as not made: HeaderWritten() is false until a later try works.
  bool Create(const QString& path, const QString& unit);
  // Writes one record line (the header first when it is still missing).
  bool WriteRecord(float number, const QString& dateTime, const QString& value);
  // Starts a sync to the disk when the last one began kSyncPeriodSecs or more before `now`.
  void SyncIfDue(const QDateTime& now);
  // What the syncs met since the last look.
  SyncOutcome TakeSyncOutcome();
  // Syncs and closes the file.
  void Close();
  // Hands the open file over (synced, still claimed): an earlier part of a recording stays in
  // use until the recording ends.
  std::unique_ptr<FileWriter> Release();
  bool IsOpen() const { return writer_ != nullptr; }
  bool HeaderWritten() const { return headerWritten_; }
  // The file open now, or the one that could not be made last.
  QString Path() const { return path_; }
  // Why the last write or creation failed: "Disk full", or the system's message.
  QString ErrorText() const { return error_; }
  // The file was removed and made again since the last look (said once).
  bool TakeRecreated() { return std::exchange(recreated_, false); }
  // Syncs begun for the files of this object.
  int SyncsStarted() const { return syncsStarted_; }

  static constexpr int kSyncPeriodSecs = 10;

 private:
  bool Open();
  bool WriteLine(const QString& text);
  std::unique_ptr<FileWriter> writer_;
  QString path_;
  QString unit_;
  bool headerWritten_ = false;
  bool recreated_ = false;
  QString error_;
  QDateTime lastSync_;
  int syncsStarted_ = 0;
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

// Writes a downloaded logger set, as a DataList of `loggerUnit` holding `lines` saves it, to a
// new file at `path`. Empty when written; otherwise why not (a name in use is refused).
QString WriteLoggerSetFile(const QString& path, const QString& loggerUnit,
                           const QStringList& lines);

}  // namespace solardesk
