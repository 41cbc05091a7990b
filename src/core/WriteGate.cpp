#include "WriteGate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

#include "Dialogs.h"

namespace solardesk {

// The syncs of one file: they run one after the other, and what they met is kept until the
// writer asks (or, once it is closed, handed to the gate).
struct SyncState {
  std::mutex order;  // held by the sync under way
  std::mutex m;
  std::atomic<int> waiting{0};  // started, not yet begun
  bool failed = false;
  bool recovered = false;
  bool failing = false;  // the last sync that ended failed
  long long linesAtRisk = 0;
  long long syncedLines = 0;  // lines on the disk by the last sync that worked
  QString cause;
  bool closed = false;  // the writer is gone: failures go to the gate
  QString path;
  // The folder whose entry of the file is synced with the file's data until that once worked;
  // empty for a device, or once it worked. Used under `order`.
  QByteArray folder;
};

QString WriteFailureText(int error) {
  if (error == ENOSPC || error == EDQUOT) return QStringLiteral("Disk full");
  return QString::fromLocal8Bit(std::strerror(error));
}

QString SyncFailureText(int error) {
  return QStringLiteral("Writing to the disk failed: %1").arg(WriteFailureText(error));
}

WriteGate::WriteGate()
    : sync_([](int fd) { return ::fdatasync(fd); }),
      start_([](std::function<void()> work) { std::thread(std::move(work)).detach(); }) {}

WriteGate& WriteGate::Shared() {
  static WriteGate* const gate = new WriteGate;  // never destroyed: see the header
  return *gate;
}

QString WriteGate::Key(const QString& path) {
  const QFileInfo info(path);
  const QString canonical = info.canonicalFilePath();
  if (!canonical.isEmpty()) return canonical;
  const QString folder = info.absoluteDir().canonicalPath();
  return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                          : folder + QLatin1Char('/') + info.fileName();
}

namespace {

QString Refusal(WriteUse use) {
  return use == WriteUse::Recording ? kBeingRecordedText : kBeingSavedText;
}

// True when another process holds the lock of the file at `path`.
bool LockedElsewhere(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  const bool locked = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                      ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return locked;
}

}  // namespace

QString WriteGate::InUse(const QString& path) const {
  const QString key = Key(path);
  {
    std::lock_guard lock(mutex_);
    const auto it = names_.find(key);
    if (it != names_.end()) return Refusal(it->second);
  }
  return LockedElsewhere(key) ? kBeingRecordedText : QString();
}

std::unique_ptr<FileWriter> WriteGate::Open(const QString& path, WriteUse use, QString* why,
                                            bool keep) {
  const QString key = Key(path);
  std::unique_lock lock(mutex_);
  if (const auto it = names_.find(key); it != names_.end()) {
    *why = Refusal(it->second);
    return nullptr;
  }
  const int flags = (keep ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND | O_CLOEXEC;
  const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
  if (fd < 0) {
    *why = WriteFailureText(errno);
    return nullptr;
  }
  struct stat st {};
  ::fstat(fd, &st);
  // Only a file has a content of its own to guard; a device (/dev/full, /dev/null) is shared.
  const bool regular = S_ISREG(st.st_mode);
  if (regular && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    *why = error == EWOULDBLOCK ? kBeingRecordedText : WriteFailureText(error);
    return nullptr;
  }
  if (!keep && regular && st.st_size > 0 && ::ftruncate(fd, 0) != 0) {
    *why = WriteFailureText(errno);
    ::close(fd);
    return nullptr;
  }
  names_.emplace(key, use);
  lock.unlock();
  auto writer =
      std::unique_ptr<FileWriter>(new FileWriter(*this, path, key, fd, keep ? st.st_size : 0));
  // A new file's name is in its folder; that entry must reach the disk too, with the file's data.
  if (regular) writer->sync_->folder = QFile::encodeName(QFileInfo(path).absolutePath());
  return writer;
}

std::optional<QString> WriteGate::AskFree(
    Dialogs& dialogs, const std::function<std::optional<QString>()>& ask) const {
  for (;;) {
    const std::optional<QString> path = ask();
    if (!path || path->isEmpty()) return path;
    const QString why = InUse(*path);
    if (why.isEmpty()) return path;
    dialogs.message(why, kProgramTitle, MessageIcon::Exclamation);
  }
}

void WriteGate::Release(const QString& key) {
  std::lock_guard lock(mutex_);
  names_.erase(key);
}

bool WriteGate::StartSync(std::function<void()> work) {
  ThreadStart start;
  {
    std::lock_guard lock(mutex_);
    ++running_;
    start = start_;
  }
  try {
    start(std::move(work));
    return true;
  } catch (const std::system_error&) {
    SyncEnded();
    return false;
  }
}

void WriteGate::SyncEnded() {
  std::lock_guard lock(mutex_);
  --running_;
  ended_.notify_all();
}

int WriteGate::CallSync(int fd) {
  SyncCall call;
  {
    std::lock_guard lock(mutex_);
    call = sync_;
  }
  return call(fd) == 0 ? 0 : errno;
}

int WriteGate::SyncFolder(const QByteArray& folder) {
  // A folder this process may not read cannot be synced by it; that is no failure of the disk.
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return 0;
  const int error = CallSync(fd);
  ::close(fd);
  return error;
}

void WriteGate::NoteLateFailure(const QString& text) {
  std::lock_guard lock(mutex_);
  late_.append(text);
}

bool WriteGate::WaitForSyncs(int ms) {
  std::unique_lock lock(mutex_);
  return ended_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return running_ == 0; });
}

QStringList WriteGate::TakeLateFailures() {
  std::lock_guard lock(mutex_);
  return std::exchange(late_, {});
}

void WriteGate::SetSyncCall(SyncCall call) {
  std::lock_guard lock(mutex_);
  sync_ = call ? std::move(call) : SyncCall([](int fd) { return ::fdatasync(fd); });
}

void WriteGate::SetThreadStart(ThreadStart start) {
  std::lock_guard lock(mutex_);
  start_ = start ? std::move(start) : ThreadStart([](std::function<void()> work) {
    std::thread(std::move(work)).detach();
  });
}

void FinishSyncsAtExit(const char* program) {
  WriteGate& gate = WriteGate::Shared();
  const bool done = gate.WaitForSyncs(kExitSyncWaitMs);
  for (const QString& failure : gate.TakeLateFailures())
    std::fprintf(stderr, "%s: %s\n", program, qPrintable(failure));
  if (!done) {
    std::fprintf(stderr,
                 "%s: the disk did not take the last data within 5 seconds; leaving without "
                 "waiting for it\n",
                 program);
  }
}

// The writer.

FileWriter::FileWriter(WriteGate& gate, QString path, QString key, int fd, qint64 size)
    : gate_(gate),
      path_(std::move(path)),
      key_(std::move(key)),
      fd_(fd),
      size_(size),
      sync_(std::make_shared<SyncState>()) {
  sync_->path = path_;
}

FileWriter::~FileWriter() {
  Close();
}

bool FileWriter::Write(QByteArrayView bytes) {
  if (fd_ < 0) {
    error_ = WriteFailureText(EBADF);
    return false;
  }
  qint64 done = 0;
  int error = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    done += n;
  }
  if (error == 0) {
    size_ += done;
    ++writes_;
    return true;
  }
  error_ = WriteFailureText(error);
  // Part of a line taken back; a device such as /dev/full has no size to cut back to.
  if (done > 0) {
    if (::ftruncate(fd_, size_) != 0) size_ += done;
  }
  return false;
}

void FileWriter::SyncLater() {
  if (fd_ < 0 || sync_->waiting > 0) return;
  const int own = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  if (own < 0) return;
  ++sync_->waiting;
  const long long lines = writes_;
  std::shared_ptr<SyncState> state = sync_;
  WriteGate* gate = &gate_;
  const bool started = gate_.StartSync([state, own, lines, gate] {
    int error = 0;
    {
      std::lock_guard order(state->order);
      --state->waiting;
      error = gate->CallSync(own);
      if (::close(own) != 0 && error == 0 && errno != EINTR) error = errno;
      if (error == 0 && !state->folder.isEmpty()) {
        error = gate->SyncFolder(state->folder);
        if (error == 0) state->folder.clear();
      }
    }
    {
      std::lock_guard lock(state->m);
      if (error != 0) {
        state->failed = true;
        state->failing = true;
        state->linesAtRisk = std::max(state->linesAtRisk, lines - state->syncedLines);
        state->cause = SyncFailureText(error);
        if (state->closed) gate->NoteLateFailure(state->path + QStringLiteral(": ") + state->cause);
      } else {
        state->syncedLines = lines;
        if (state->failing) {
          state->failing = false;
          state->recovered = true;
        }
      }
    }
    gate->SyncEnded();
  });
  if (started) return;
  --sync_->waiting;
  ::close(own);
  std::lock_guard lock(sync_->m);
  sync_->failed = true;
  sync_->failing = true;
  sync_->linesAtRisk = std::max(sync_->linesAtRisk, lines - sync_->syncedLines);
  sync_->cause = SyncFailureText(EAGAIN);
}

SyncOutcome FileWriter::TakeSyncOutcome() {
  std::lock_guard lock(sync_->m);
  SyncOutcome outcome{sync_->failed, sync_->recovered && !sync_->failing, 0, sync_->cause};
  if (sync_->failed) outcome.linesAtRisk = sync_->linesAtRisk;
  sync_->failed = false;
  sync_->linesAtRisk = 0;
  if (outcome.recovered) sync_->recovered = false;
  return outcome;
}

bool FileWriter::Removed() const {
  if (fd_ < 0) return false;
  struct stat open {};
  struct stat named {};
  if (::fstat(fd_, &open) != 0) return false;
  if (::stat(QFile::encodeName(path_).constData(), &named) != 0) return true;
  return open.st_dev != named.st_dev || open.st_ino != named.st_ino;
}

QByteArray FileWriter::ReadTail(qint64 bytes) const {
  const qint64 from = std::max<qint64>(0, size_ - bytes);
  QByteArray tail(size_ - from, Qt::Uninitialized);
  const ssize_t n =
      fd_ < 0 ? -1 : ::pread(fd_, tail.data(), static_cast<size_t>(tail.size()), from);
  tail.resize(n < 0 ? 0 : n);
  return tail;
}

bool FileWriter::CutTo(qint64 size) {
  if (fd_ < 0 || ::ftruncate(fd_, size) != 0) return false;
  size_ = size;
  return true;
}

bool FileWriter::Close() {
  if (fd_ < 0) return error_.isEmpty();
  // The last lines go to the disk on the sync thread; the file is closed at once, so that a
  // disk that hangs cannot hold the program.
  SyncLater();
  {
    std::lock_guard lock(sync_->m);
    sync_->closed = true;
    if (sync_->failing) gate_.NoteLateFailure(path_ + QStringLiteral(": ") + sync_->cause);
  }
  // The sync under way holds a duplicate of the descriptor, and with it the lock: let go now.
  ::flock(fd_, LOCK_UN);
  bool closed = true;
  if (::close(fd_) != 0 && errno != EINTR) {
    error_ = SyncFailureText(errno);
    closed = false;
  }
  fd_ = -1;
  gate_.Release(key_);
  return closed;
}

void FileWriter::Discard() {
  if (fd_ < 0) return;
  ::unlink(QFile::encodeName(path_).constData());
  ::close(fd_);
  fd_ = -1;
  gate_.Release(key_);
}

}  // namespace solardesk
