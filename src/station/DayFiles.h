#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

#include "DayFile.h"
#include "EventLog.h"

namespace solardesk::station {

// The station's data files: one per local day in one folder, "YYYY-MM-DD.pvd", and when the
// meter changes its unit during the day, "YYYY-MM-DD-1.pvd", "-2", ... for the rest of the day.
// A restart carries on in the day's last file when its unit is the meter's.
class DayFiles {
 public:
  DayFiles(QString folder, EventSink events);

  // Writes one sample taken at `t`; its record number, or nothing when it could not be written
  // (said once, then tried again at every sample until it works).
  std::optional<long long> Write(const QDateTime& t, const QString& value, const QString& unit);
  // Puts what was written on the disk.
  void Sync();
  // Synced and closed; the next sample opens the day's file again (after SIGHUP, for log
  // rotation, and at the end).
  void Close();

  QString CurrentPath() const { return file_.IsOpen() ? file_.Path() : QString(); }
  // "2026-12-06.pvd" for part 0, "2026-12-06-1.pvd" for part 1.
  static QString FileName(const QDate& day, int part);
  // The day and part a day file's name stands for; nothing for any other name.
  struct NameParts {
    QDate day;
    int part = 0;
  };
  static std::optional<NameParts> ParseName(const QString& name);
  // Whether day file `a` was written before day file `b`: by day, then by part.
  static bool Before(const QString& a, const QString& b);
  // The names of the day files in `folder`, in the order they were written.
  static QStringList NamesInOrder(const QString& folder);

  static constexpr int kSyncEverySeconds = 10;

 private:
  bool OpenFor(const QDate& day, const QString& unit);
  int LastPart(const QDate& day) const;
  QString PathOf(const QDate& day, int part) const;

  QString folder_;
  EventSink events_;
  DayFile file_;
  QDate day_;
  QDateTime lastSync_;
  long long unwritten_ = 0;  // samples lost since the last write that worked
};

}  // namespace solardesk::station
