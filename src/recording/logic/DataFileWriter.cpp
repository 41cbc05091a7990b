#include "DataFileWriter.h"

#include <QDir>
#include <cstdio>

#include "DataFileFormat.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

bool RecordFile::Open() {
  QString why;
  writer_ = WriteGate::Shared().Open(path_, WriteUse::Recording, &why);
  if (!writer_) {
    error_ = why;
    return false;
  }
  lastSync_ = QDateTime();
  headerWritten_ = WriteLine(HeaderText(unit_));
  return true;
}

bool RecordFile::Create(const QString& path, const QString& unit) {
  Close();
  path_ = path;
  unit_ = unit;
  recreated_ = false;
  return Open();
}

void RecordFile::SyncIfDue(const QDateTime& now) {
  if (!writer_) return;
  if (!lastSync_.isValid() || now < lastSync_) lastSync_ = now;
  if (lastSync_.secsTo(now) < kSyncPeriodSecs) return;
  writer_->SyncLater();
  ++syncsStarted_;
  lastSync_ = now;
}

SyncOutcome RecordFile::TakeSyncOutcome() {
  return writer_ ? writer_->TakeSyncOutcome() : SyncOutcome();
}

std::unique_ptr<FileWriter> RecordFile::Release() {
  if (writer_) {
    writer_->SyncLater();
    ++syncsStarted_;
  }
  return std::move(writer_);
}

void RecordFile::Close() {
  if (!writer_) return;
  ++syncsStarted_;
  if (!writer_->Close()) error_ = writer_->Error();
  writer_.reset();
}

bool RecordFile::WriteLine(const QString& text) {
  if (!writer_->Write(text.toLatin1() + kLineEnd)) {
    error_ = writer_->Error();
    return false;
  }
  return true;
}

bool RecordFile::WriteRecord(float number, const QString& dateTime, const QString& value) {
  if (writer_ && writer_->Removed()) {
    // Whatever is written to a file nobody can find again is lost: make it again.
    writer_->Close();
    writer_.reset();
    recreated_ = true;
  }
  if (!writer_ && !Open()) return false;
  if (!headerWritten_ && !(headerWritten_ = WriteLine(HeaderText(unit_)))) return false;
  return WriteLine(RecordText(number, dateTime, value));
}

constexpr qsizetype kPieceBytes = 1 << 16;

bool WriteLinesToFile(const QString& path, int count,
                      const std::function<QByteArrayView(int)>& lineAt,
                      const std::function<QString(int)>& progressText, ProgressPacer& pacer) {
  QString why;
  const std::unique_ptr<FileWriter> file = WriteGate::Shared().Open(path, WriteUse::Saving, &why);
  if (!file) return false;
  // Lines go out in pieces of about 64 KiB: one system call per piece, not per line.
  QByteArray piece;
  const auto failed = [&] {
    // The program is ending: nobody is left to see what the file holds, so none is kept.
    if (pacer.Stopped()) {
      file->Discard();
      std::fprintf(stderr, "solardesk: %s could not be saved (%s); the partial file was removed\n",
                   qPrintable(QDir::toNativeSeparators(path)), qPrintable(file->Error()));
    }
    return false;
  };
  for (int i = 0; i < count; ++i) {
    const QByteArrayView text = lineAt(i);
    piece.append(text.data(), text.size());
    piece.append(kLineEnd, 2);
    if (piece.size() >= kPieceBytes) {
      if (!file->Write(piece)) return failed();
      piece.clear();
    }
    // A save the user asked for finishes, also when the program is ending meanwhile.
    if (pacer.Due()) pacer.Show(progressText(i));
  }
  if (!piece.isEmpty() && !file->Write(piece)) return failed();
  return file->Close();
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

namespace solardesk {

QString WriteLoggerSetFile(const QString& path, const QString& loggerUnit,
                           const QStringList& lines) {
  QString why;
  const std::unique_ptr<FileWriter> file = WriteGate::Shared().Open(path, WriteUse::Saving, &why);
  if (!file) return why.isEmpty() ? QStringLiteral("It cannot be created.") : why;
  QByteArray bytes = HeaderText(loggerUnit).toLatin1() + kLineEnd;
  for (const QString& line : lines) bytes += line.toLatin1() + kLineEnd;
  if (!file->Write(bytes) || !file->Close()) return file->Error();
  return {};
}

}  // namespace solardesk
