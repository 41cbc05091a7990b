#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <utility>

#include "core/FileWriter.h"

namespace solardesk::station {

// One data file of the station, in the recording form: a header line, then record lines
// numbered from 1. Opening a file that already holds records carries on after its last record;
// a last line cut short by a crash is first put right (see Open). Each line goes to the
// operating system as it is written; Sync() puts it on the disk. The file is written through the
// WriteGate, so no other writer of this or another SolarDesk process can take it meanwhile; a
// file removed while it is written is made again under its name, numbers carrying on.
class DayFile {
 public:
  enum class OpenResult { Created, Appended, WrongUnit, Failed };

  // Opens `path` for `unit` (the meter's unit text). A missing or empty file is created with
  // the header. A file whose header names another unit is left alone (WrongUnit). A last line
  // without its line end is completed when all its fields are there, and cut off when it broke
  // inside a field, since its value cannot be known; either way no record number is used twice.
  // Failed: Error() says why, in the gate's words when another writer holds the file.
  OpenResult Open(const QString& path, const QString& unit);
  // Writes the next record; its number, or nothing when the write failed (Error() says why). A
  // failed write leaves the file as it was and uses up no number.
  std::optional<long long> Append(const QString& dateTime, const QString& value);
  // Starts handing what was written to the disk itself (fdatasync on a thread of its own).
  void Sync();
  // What the syncs met since the last look.
  SyncOutcome TakeSyncOutcome() { return file_ ? file_->TakeSyncOutcome() : SyncOutcome(); }
  void Close();

  bool IsOpen() const { return file_ != nullptr; }
  QString Path() const { return path_; }
  // The file was removed and made again since the last look.
  bool TakeRecreated() { return std::exchange(recreated_, false); }
  QString Unit() const { return unit_; }
  long long LastRecord() const { return lastRecord_; }
  // Why the last Open or Append failed.
  QString Error() const { return error_; }
  // The unit named by a data file's header, or nothing when the file has no whole header.
  static std::optional<QString> HeaderUnit(const QString& path);

 private:
  bool RepairTail();
  bool Create();

  std::unique_ptr<FileWriter> file_;
  QString path_;
  bool recreated_ = false;
  QString error_;
  QString unit_;
  long long lastRecord_ = 0;
};

}  // namespace solardesk::station
