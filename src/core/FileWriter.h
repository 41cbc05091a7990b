#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>

namespace solardesk {

class WriteGate;
struct SyncState;

// The cause of a failed write as the user reads it: "Disk full" for a full disk or quota, the
// system's message otherwise.
QString WriteFailureText(int error);
// The cause of a failed hand-over to the disk (a sync or the close).
QString SyncFailureText(int error);
// The cause when the path no longer names the file being written.
inline const QString kFileRemovedText = QStringLiteral("The file was removed");

// What became of the syncs of one file since it was last asked.
struct SyncOutcome {
  bool failed = false;        // a sync failed since the last look
  bool recovered = false;     // a later sync succeeded after a failure
  long long linesAtRisk = 0;  // lines written before the failed syncs, maybe not on the disk
  QString cause;              // SyncFailureText of the last failure
};

// One file being written, handed out by the WriteGate: while it lives, its name is in use for
// this process and locked (flock) against every other SolarDesk process. Writes go straight to
// the operating system and are whole or not at all: a line that cannot be written whole is
// taken back, so the next one starts where it belongs. Syncs to the disk run on a thread of their
// own; their failures are kept until asked for.
class FileWriter {
 public:
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // Writes `bytes` whole; false with Error() set when it could not.
  bool Write(QByteArrayView bytes);
  // Starts a sync of everything written so far, unless one is still waiting to start (it will
  // take these lines too). Never blocks.
  void SyncLater();
  // Syncs, waits for it and closes: false (with Error() set) when the sync or the close failed.
  bool Close();
  // Removes the file and closes it: a file that could not be finished.
  void Discard();
  // The name no longer leads to the file being written (removed, or replaced by another file).
  bool Removed() const;
  // What the syncs did since the last call.
  SyncOutcome TakeSyncOutcome();

  bool IsOpen() const { return fd_ >= 0; }
  QString Path() const { return path_; }
  QString Error() const { return error_; }
  qint64 Size() const { return size_; }
  // The last `bytes` bytes of the file (a file opened to be kept), and cutting it back to `size`.
  QByteArray ReadTail(qint64 bytes) const;
  bool CutTo(qint64 size);
  // Lines (calls of Write) that reached the file.
  long long Writes() const { return writes_; }

 private:
  friend class WriteGate;
  FileWriter(WriteGate& gate, QString path, QString key, int fd, qint64 size);

  WriteGate& gate_;
  QString path_;
  QString key_;  // the name the gate knows it by
  int fd_;
  qint64 size_;
  long long writes_ = 0;
  QString error_;
  std::shared_ptr<SyncState> sync_;
};

}  // namespace solardesk
