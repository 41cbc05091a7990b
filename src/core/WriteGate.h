#pragma once

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "Dialogs.h"
#include "FileWriter.h"

namespace solardesk {

// What a file is being written for; it decides the words of a refusal.
enum class WriteUse { Recording, Saving };

inline const QString kBeingRecordedText =
    QStringLiteral("This file is being recorded. Choose another name.");
inline const QString kBeingSavedText =
    QStringLiteral("This file is being saved. Choose another name.");

// The one owner of every file the program writes: recordings with all their parts, list saves,
// the live list's flushes, exports, printed PDF files and the station's day files. It hands out
// writers, refuses a name that is being written (in this process by its name, in another
// SolarDesk process by its lock), and runs the syncs to the disk on threads of their own.
class WriteGate {
 public:
  // The gate of this process. It is never destroyed, so that a sync stuck in the kernel at exit
  // finds it still there.
  static WriteGate& Shared();

  // Why `path` may not be written now (the refusal text), or empty when it may.
  QString InUse(const QString& path) const;
  // Opens `path` for writing: emptied, or with `keep` as it is (writes go to its end). Null when
  // it is in use or cannot be opened; `why` then says so.
  std::unique_ptr<FileWriter> Open(const QString& path, WriteUse use, QString* why,
                                   bool keep = false);
  // Shows a save dialog through `ask` (nothing: Cancel) until it gives a name not in use; a name
  // in use is refused with a message box over the asking window.
  std::optional<QString> AskFree(Dialogs& dialogs,
                                 const std::function<std::optional<QString>()>& ask) const;

  // Waits at most `ms` milliseconds for every sync under way; false when some are still running.
  bool WaitForSyncs(int ms);
  // Failures of syncs that ended after their file was closed: "path: cause", each once.
  QStringList TakeLateFailures();

  // The call that puts a file's data on the disk (fdatasync), also a folder's entries; tests put a
  // failing one in.
  using SyncCall = std::function<int(int fd)>;
  void SetSyncCall(SyncCall call);
  // How a sync thread is started; tests put in one that fails to start.
  using ThreadStart = std::function<void(std::function<void()> work)>;
  void SetThreadStart(ThreadStart start);

  // The name a path is known by: the canonical path, also for a file not made yet.
  static QString Key(const QString& path);

 private:
  friend class FileWriter;
  WriteGate();
  void Release(const QString& key);
  // Runs `work` on a sync thread; false when no thread could be started.
  bool StartSync(std::function<void()> work);
  void SyncEnded();
  int CallSync(int fd);
  // Syncs the folder at `folder` (its entries): 0, or the error.
  int SyncFolder(const QByteArray& folder);
  void NoteLateFailure(const QString& text);

  mutable std::mutex mutex_;
  std::map<QString, WriteUse> names_;
  SyncCall sync_;
  ThreadStart start_;
  int running_ = 0;
  std::condition_variable ended_;
  QStringList late_;
};

// Shows the printer dialog until it prints on paper or into a file that is not being written;
// `hold` then keeps that file in use while the printer writes it. False on Cancel.
template <class Printer>
bool ChoosePrinterFree(Dialogs& dialogs, Printer& printer, std::unique_ptr<FileWriter>& hold) {
  for (;;) {
    if (!dialogs.choosePrinter(printer)) return false;
    const QString file = printer.outputFileName();
    if (file.isEmpty()) return true;
    QString why;
    hold = WriteGate::Shared().Open(file, WriteUse::Saving, &why, true);
    if (hold || (why != kBeingRecordedText && why != kBeingSavedText)) return true;
    dialogs.message(why, kProgramTitle, MessageIcon::Exclamation);
  }
}

// How long a program at its end waits for the syncs under way.
inline constexpr int kExitSyncWaitMs = 5000;

// The end of a program that wrote files: waits at most five seconds for the syncs under way,
// then says on standard error which of them failed or are left unfinished.
void FinishSyncsAtExit(const char* program);

}  // namespace solardesk
