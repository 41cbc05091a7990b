#include "DayFile.h"

#include <unistd.h>

#include <QFileInfo>

#include "data/RecordSeries.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk::station {

namespace {

constexpr qint64 kTailBytes = 4096;  // far more than any record line

}  // namespace

std::optional<QString> DayFile::HeaderUnit(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray head = f.read(256);
  const qsizetype end = head.indexOf(kLineEnd);
  if (end < 0) return std::nullopt;
  return QString::fromLatin1(TabField(QByteArrayView(head).first(end), 2)).trimmed();
}

DayFile::OpenResult DayFile::Open(const QString& path, const QString& unit) {
  Close();
  file_.setFileName(path);
  unit_ = unit;
  lastRecord_ = 0;
  const bool hasHeader = HeaderUnit(path).has_value();
  if (hasHeader && *HeaderUnit(path) != unit) return OpenResult::WrongUnit;
  if (!hasHeader && QFileInfo(path).size() > HeaderText(unit).size() + 2) {
    return OpenResult::Failed;  // not a data file: it is not ours to overwrite
  }
  if (!hasHeader) {
    // Missing, empty, or cut short inside its header: nothing in it can be kept.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
      return OpenResult::Failed;
    if (!WriteWhole(HeaderText(unit).toLatin1() + kLineEnd)) {
      Close();
      return OpenResult::Failed;
    }
    return OpenResult::Created;
  }
  if (!file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered) || !RepairTail()) {
    Close();
    return OpenResult::Failed;
  }
  return OpenResult::Appended;
}

bool DayFile::RepairTail() {
  const qint64 size = file_.size();
  const qint64 from = std::max<qint64>(0, size - kTailBytes);
  if (!file_.seek(from)) return false;
  const QByteArray tail = file_.read(size - from);
  const qsizetype lastEnd = tail.lastIndexOf(kLineEnd);
  if (lastEnd < 0) return false;  // a tail of garbage with no line in it: leave it to a person
  QByteArray fragment = tail.mid(lastEnd + 2);
  if (!fragment.isEmpty()) {
    if (fragment.endsWith('\r')) fragment.chop(1);
    const bool whole =
        fragment.count('\t') == 3 && fragment.endsWith('\t') && RecordNumber(fragment).has_value();
    if (whole) {
      // Only the line end was lost.
      const QByteArray rest = tail.endsWith('\r') ? QByteArray("\n") : QByteArray(kLineEnd);
      if (!file_.seek(size) || file_.write(rest) != rest.size()) return false;
      lastRecord_ = *RecordNumber(fragment);
      return file_.seek(file_.size());
    }
    if (!file_.resize(from + lastEnd + 2)) return false;
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
  return file_.seek(file_.size());
}

bool DayFile::WriteWhole(const QByteArray& bytes) {
  const qint64 before = file_.size();
  if (file_.write(bytes) == bytes.size()) return true;
  // A full disk may take part of a line: take it back, so the file stays whole.
  file_.resize(before);
  file_.seek(before);
  return false;
}

std::optional<long long> DayFile::Append(const QString& dateTime, const QString& value) {
  if (!file_.isOpen()) return std::nullopt;
  const long long number = lastRecord_ + 1;
  const QByteArray line =
      RecordText(static_cast<float>(number), dateTime, value).toLatin1() + kLineEnd;
  if (!WriteWhole(line)) return std::nullopt;
  lastRecord_ = number;
  return number;
}

bool DayFile::Sync() {
  if (!file_.isOpen()) return true;
  return ::fdatasync(file_.handle()) == 0;
}

void DayFile::Close() {
  if (!file_.isOpen()) return;
  Sync();
  file_.close();
}

}  // namespace solardesk::station
