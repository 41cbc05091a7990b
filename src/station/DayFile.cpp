#include "DayFile.h"

#include <QFileInfo>
#include <cerrno>

#include "core/WriteGate.h"
#include "data/RecordSeries.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk::station {

namespace {

constexpr qint64 kTailBytes = 4096;  // far more than any record line

const QString kNotDataFileText = QStringLiteral("not a data file");

}  // namespace

std::optional<QString> DayFile::HeaderUnit(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray head = f.read(256);
  const qsizetype end = head.indexOf(kLineEnd);
  if (end < 0) return std::nullopt;
  return QString::fromLatin1(TabField(QByteArrayView(head).first(end), 2)).trimmed();
}

bool DayFile::Create() {
  file_ = WriteGate::Shared().Open(path_, WriteUse::Recording, &error_);
  if (file_ && file_->Write(HeaderText(unit_).toLatin1() + kLineEnd)) return true;
  if (file_) error_ = file_->Error();
  Close();
  return false;
}

DayFile::OpenResult DayFile::Open(const QString& path, const QString& unit) {
  Close();
  path_ = path;
  unit_ = unit;
  lastRecord_ = 0;
  error_.clear();
  const std::optional<QString> headerUnit = HeaderUnit(path);
  if (headerUnit && *headerUnit != unit) {
    error_ = QStringLiteral("a data file of another unit");
    return OpenResult::WrongUnit;
  }
  if (!headerUnit && QFileInfo(path).size() > HeaderText(unit).size() + 2) {
    error_ = kNotDataFileText;  // it is not ours to overwrite
    return OpenResult::Failed;
  }
  // Missing, empty, or cut short inside its header: nothing in it can be kept.
  if (!headerUnit) return Create() ? OpenResult::Created : OpenResult::Failed;
  file_ = WriteGate::Shared().Open(path, WriteUse::Recording, &error_, true);
  if (file_ && RepairTail()) return OpenResult::Appended;
  Close();
  return OpenResult::Failed;
}

bool DayFile::RepairTail() {
  const qint64 size = file_->Size();
  const QByteArray tail = file_->ReadTail(kTailBytes);
  const qint64 from = size - tail.size();
  const qsizetype lastEnd = tail.lastIndexOf(kLineEnd);
  if (lastEnd < 0) {
    error_ = kNotDataFileText;  // a tail of garbage with no line in it: leave it to a person
    return false;
  }
  QByteArray fragment = tail.mid(lastEnd + 2);
  if (!fragment.isEmpty()) {
    if (fragment.endsWith('\r')) fragment.chop(1);
    const bool whole =
        fragment.count('\t') == 3 && fragment.endsWith('\t') && RecordNumber(fragment).has_value();
    if (whole) {
      // Only the line end was lost.
      const QByteArray rest = tail.endsWith('\r') ? QByteArray("\n") : QByteArray(kLineEnd);
      if (!file_->Write(rest)) {
        error_ = file_->Error();
        return false;
      }
      lastRecord_ = *RecordNumber(fragment);
      return true;
    }
    if (!file_->CutTo(from + lastEnd + 2)) {
      error_ = WriteFailureText(errno);
      return false;
    }
  }
  // The last whole line: the header, or the last record.
  const QByteArray kept = tail.left(lastEnd);
  const qsizetype previousEnd = kept.lastIndexOf(kLineEnd);
  const bool isHeader = from == 0 && previousEnd < 0;
  if (!isHeader) {
    const QByteArrayView lastLine =
        previousEnd < 0 ? QByteArrayView(kept) : QByteArrayView(kept).sliced(previousEnd + 2);
    lastRecord_ = RecordNumber(lastLine).value_or(0);
  }
  return true;
}

std::optional<long long> DayFile::Append(const QString& dateTime, const QString& value) {
  if (file_ && file_->Removed()) {
    // Lines written to a file nobody can find again are lost: make it again, numbers going on.
    Close();
    if (!Create()) return std::nullopt;
    recreated_ = true;
  }
  if (!file_) return std::nullopt;
  const long long number = lastRecord_ + 1;
  const QByteArray line =
      RecordText(static_cast<float>(number), dateTime, value).toLatin1() + kLineEnd;
  if (!file_->Write(line)) {
    error_ = file_->Error();
    return std::nullopt;
  }
  lastRecord_ = number;
  return number;
}

void DayFile::Sync() {
  if (file_) file_->SyncLater();
}

void DayFile::Close() {
  if (!file_) return;
  file_->Close();
  file_.reset();
}

}  // namespace solardesk::station
