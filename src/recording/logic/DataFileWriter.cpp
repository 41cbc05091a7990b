#include "DataFileWriter.h"

#include "DataFileFormat.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

bool RecordFile::Create(const QString& path) {
  file_.close();
  file_.setFileName(path);
  return file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool RecordFile::WriteLine(const QString& text) {
  if (!file_.isOpen()) return false;
  const QByteArray line = text.toLatin1() + kLineEnd;
  return file_.write(line) == line.size() && file_.flush();
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
