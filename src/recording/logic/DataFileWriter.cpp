#include "DataFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <cerrno>

#include "DataFileFormat.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

namespace {

// The cause of a failed write or creation as the user should read it.
QString WriteFailure(const QFile& file) {
  const QString system = file.errorString();
  if (system == qt_error_string(ENOSPC) || system == qt_error_string(EDQUOT))
    return QStringLiteral("Disk full");
  return system;
}

// True when the open file has no name left in any folder: writes to it still succeed, but
// nobody will ever read them.
bool Unlinked(const QFile& file) {
  struct stat st {};
  return ::fstat(file.handle(), &st) == 0 && st.st_nlink == 0;
}

}  // namespace

bool RecordFile::Create(const QString& path) {
  Close();
  file_.setFileName(path);
  goodSize_ = 0;
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
    error_ = WriteFailure(file_);
    return false;
  }
  // A new file's name is in its folder; that entry must reach the disk too.
  const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
  const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    sync_.SyncFolder(folderFd);
    ::close(folderFd);
  }
  lastSync_ = QDateTime();
  return true;
}

void RecordFile::SyncIfDue(const QDateTime& now) {
  if (!file_.isOpen()) return;
  if (!lastSync_.isValid() || now < lastSync_) lastSync_ = now;
  if (lastSync_.secsTo(now) < kSyncPeriodSecs) return;
  // On a disk so slow that a sync already waits, that one will take these lines as well.
  if (sync_.Queued()) return;
  sync_.SyncFile(file_.handle());
  lastSync_ = now;
}

void RecordFile::Close() {
  if (!file_.isOpen()) return;
  sync_.SyncFile(file_.handle());
  file_.close();
}

bool RecordFile::WriteLine(const QString& text) {
  if (!file_.isOpen()) return false;
  if (Unlinked(file_)) {
    error_ = QStringLiteral("The file was removed");
    return false;
  }
  const QByteArray line = text.toLatin1() + kLineEnd;
  qint64 done = file_.write(line);
  // A short write says nothing of its cause; the rest, written again, fails with it.
  if (done >= 0 && done < line.size()) {
    const qint64 rest = file_.write(line.constData() + done, line.size() - done);
    if (rest > 0) done += rest;
  }
  if (done == line.size()) {
    goodSize_ += line.size();
    return true;
  }
  error_ = WriteFailure(file_);
  file_.unsetError();
  // A device such as /dev/full has no size to cut back to.
  if (!file_.isSequential()) {
    file_.resize(goodSize_);
    file_.seek(goodSize_);
  }
  return false;
}

bool RecordFile::WriteHeader(const QString& unit) {
  return WriteLine(HeaderText(unit));
}

bool RecordFile::WriteRecord(float number, const QString& dateTime, const QString& value) {
  return WriteLine(RecordText(number, dateTime, value));
}

bool WriteLinesToFile(const QString& path, int count,
                      const std::function<QByteArrayView(int)>& lineAt,
                      const std::function<QString(int)>& progressText, ProgressPacer& pacer) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  for (int i = 0; i < count; ++i) {
    const QByteArrayView line = lineAt(i);
    if (file.write(line.data(), line.size()) != line.size() || file.write(kLineEnd, 2) != 2)
      return false;
    if (pacer.Due() && !pacer.Show(progressText(i))) return false;
  }
  return file.flush();
}

namespace {

// Busy pointer, kept caption and suspended timers for the length of one save.
class SaveScope {
 public:
  SaveScope(LongLoop& window, Instrument& instrument)
      : window_(window), instrument_(instrument), caption_(window.Caption()) {
    window_.SetBusy(true);
    instrument_.PauseTimers();
  }
  ~SaveScope() {
    window_.SetBusy(false);
    window_.SetCaption(caption_);
    instrument_.ResumeTimers();
  }

 private:
  LongLoop& window_;
  Instrument& instrument_;
  QString caption_;
};

QString RecordsCompleted(int n) {
  return QStringLiteral("%1Records Completed").arg(n);
}

}  // namespace

bool SaveListToFile(const LineStore& rows, int lastRow, const QString& path, LongLoop& window,
                    Instrument& instrument) {
  SaveScope scope(window, instrument);
  ProgressPacer pacer(window, instrument);
  return WriteLinesToFile(
      path, std::min(lastRow + 1, rows.count()), [&rows](int r) { return rows.bytes(r); },
      [](int r) { return RecordsCompleted(r); }, pacer);
}

bool SaveLoggerListToFile(const QString& title, const LineStore& entries, const QString& path,
                          LongLoop& window, Instrument& instrument) {
  SaveScope scope(window, instrument);
  ProgressPacer pacer(window, instrument);
  const QByteArray titleLine = title.toLatin1();
  return WriteLinesToFile(
      path, entries.count() + 1,
      [&](int i) { return i == 0 ? QByteArrayView(titleLine) : entries.bytes(i - 1); },
      [](int i) { return RecordsCompleted(i); }, pacer);
}

}  // namespace solardesk
