#include "DayFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>

#include "recording/logic/DataFileFormat.h"
#include "recording/logic/RecordingHealth.h"

namespace solardesk::station {

DayFiles::DayFiles(QString folder, EventSink events)
    : folder_(std::move(folder)), events_(std::move(events)) {}

QString DayFiles::FileName(const QDate& day, int part) {
  const QString date = day.toString(QStringLiteral("yyyy-MM-dd"));
  return part == 0 ? date + QStringLiteral(".pvd")
                   : QStringLiteral("%1-%2.pvd").arg(date).arg(part);
}

std::optional<DayFiles::NameParts> DayFiles::ParseName(const QString& name) {
  static const QRegularExpression pattern(
      QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})(?:-([1-9][0-9]{0,5}))?\\.pvd$"));
  const QRegularExpressionMatch m = pattern.match(name);
  if (!m.hasMatch()) return std::nullopt;
  const QDate day = QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd"));
  if (!day.isValid()) return std::nullopt;
  return NameParts{day, m.captured(2).toInt()};
}

bool DayFiles::Before(const QString& a, const QString& b) {
  const std::optional<NameParts> x = ParseName(a), y = ParseName(b);
  if (!x || !y) return a < b;
  return x->day != y->day ? x->day < y->day : x->part < y->part;
}

QStringList DayFiles::NamesInOrder(const QString& folder) {
  QStringList names;
  for (const QString& name : QDir(folder).entryList({QStringLiteral("*.pvd")}, QDir::Files))
    if (ParseName(name)) names << name;
  std::sort(names.begin(), names.end(), &DayFiles::Before);
  return names;
}

QString DayFiles::PathOf(const QDate& day, int part) const {
  return QDir(folder_).filePath(FileName(day, part));
}

int DayFiles::LastPart(const QDate& day) const {
  const QString date = day.toString(QStringLiteral("yyyy-MM-dd"));
  const QRegularExpression name(QStringLiteral("^%1(?:-(\\d{1,6}))?\\.pvd$").arg(date));
  int last = 0;
  for (const QString& entry :
       QDir(folder_).entryList({date + QStringLiteral("*.pvd")}, QDir::Files)) {
    const auto m = name.match(entry);
    if (m.hasMatch()) last = std::max(last, m.captured(1).toInt());
  }
  return last;
}

bool DayFiles::OpenFor(const QDate& day, const QString& unit) {
  int part = LastPart(day);
  // The day's last file, unless it holds another unit: then the next one.
  DayFile::OpenResult result = file_.Open(PathOf(day, part), unit);
  if (result == DayFile::OpenResult::WrongUnit) result = file_.Open(PathOf(day, ++part), unit);
  if (result == DayFile::OpenResult::Failed || result == DayFile::OpenResult::WrongUnit) {
    return false;
  }
  day_ = day;
  const QString path = QDir::toNativeSeparators(file_.Path());
  if (result == DayFile::OpenResult::Created) {
    events_(QStringLiteral("data file %1 opened").arg(path));
  } else {
    events_(QStringLiteral("data file %1 opened, carrying on after record %2")
                .arg(path)
                .arg(file_.LastRecord()));
  }
  return true;
}

std::optional<long long> DayFiles::Write(const QDateTime& t, const QString& value,
                                         const QString& unit) {
  if (file_.IsOpen() && (t.date() != day_ || file_.Unit() != unit)) Close();
  std::optional<long long> number;
  if (file_.IsOpen() || OpenFor(t.date(), unit)) number = file_.Append(SampleTimeText(t), value);
  if (!number) {
    if (unwritten_++ == 0) {
      // The cause as the gate gives it: a full disk, or another recording that holds the file.
      events_(QStringLiteral("cannot write the data file %1 (%2); trying again at every sample")
                  .arg(QDir::toNativeSeparators(file_.Path()), file_.Error()));
    }
    return std::nullopt;
  }
  if (file_.TakeRecreated()) {
    events_(QStringLiteral("data file %1: %2")
                .arg(QDir::toNativeSeparators(file_.Path()), kFileRecreatedText));
  }
  if (unwritten_ > 0) {
    events_(
        QStringLiteral("data file written again; %1 samples could not be written").arg(unwritten_));
    unwritten_ = 0;
  }
  if (!lastSync_.isValid() || lastSync_.secsTo(t) >= kSyncEverySeconds) {
    file_.Sync();
    lastSync_ = t;
  }
  if (const SyncOutcome syncs = file_.TakeSyncOutcome(); syncs.failed) {
    events_(QStringLiteral("cannot write the data file %1 (%2); up to %3 samples may be lost")
                .arg(QDir::toNativeSeparators(file_.Path()), syncs.cause)
                .arg(syncs.linesAtRisk));
  }
  return number;
}

void DayFiles::Sync() {
  file_.Sync();
}

void DayFiles::Close() {
  file_.Close();
  lastSync_ = QDateTime();
}

}  // namespace solardesk::station
