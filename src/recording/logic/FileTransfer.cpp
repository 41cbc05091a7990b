#include "FileTransfer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>

#include "DataFileFormat.h"
#include "IntervalEntry.h"
#include "MeterInterval.h"
#include "SingleText.h"
#include "panel/logic/Instrument.h"

namespace solardesk {
namespace {

const QString kIntervalTitle = QStringLiteral("Input Sampling Time");
const QString kIntervalPrompt = QStringLiteral("Enter the SAMPLING TIME in seconds\r\n");
const QString kNotANumber = QStringLiteral("Please enter a number of seconds.");

// A counter that has just filled a file or a list: not 0 and a whole multiple of the limit.
bool IsFull(float count) {
  return count != 0.0f && std::fmod(static_cast<double>(count), kRecordsPerFile) == 0.0;
}

}  // namespace

FileTransfer::FileTransfer(Instrument& instrument) : instrument_(instrument) {}

void FileTransfer::LabelsChanged() {
  if (onLabelsChanged) onLabelsChanged();
}

void FileTransfer::RecordingTick() {
  if (SampleTicks < SampleInterval && SampleTicks != 0) {
    ++SampleTicks;
    return;
  }
  const QDateTime now = instrument_.clock.now();
  const QString dateTime = SampleTimeText(now);
  const QString value = instrument_.meter.ReadingText;
  const QString& unit = instrument_.meter.ReadingUnit;

  if (FileRecording && unit != FileUnit) {
    StopFileRecording();  // no line for this tick
  } else if (FileRecording) {
    if (!RecordToFile(dateTime, value)) return;
  } else {
    ClearFileLabels();
    FileRecordCount = 0;
  }

  if (ListRecording && liveList) {
    if (unit != ListUnit) {
      ListRecording = false;
      liveList->Close();
    } else if (!RecordToList(now, dateTime, value)) {
      return;
    }
  }
  SampleTicks = 1;
}

bool FileTransfer::RecordToFile(const QString& dateTime, const QString& value) {
  if (IsFull(FileRecordCount)) {
    recordFile_.Close();
    ++FilePart;
    if (!recordFile_.Create(ContinuationName(RecordFileName, FilePart))) return false;
    if (!recordFile_.WriteHeader(FileUnit)) return false;
  }
  FileRecordCount += 1;
  if (!recordFile_.WriteRecord(FileRecordCount, dateTime, value)) return false;
  labels.count = SingleText(FileRecordCount);
  labels.recording = QStringLiteral("Rec");
  LabelsChanged();
  return true;
}

bool FileTransfer::RecordToList(const QDateTime& now, const QString& dateTime,
                                const QString& value) {
  if (IsFull(ListRecordCount) && !FlushLiveList(now)) return false;
  ListRecordCount += 1;
  liveList->Rows().append(ListRowText(ListNumberCell(ListRecordCount), dateTime, value));
  liveList->RowsChanged();
  if (ListRecordCount > 16) liveList->FollowNewest();
  return true;
}

bool FileTransfer::FlushLiveList(const QDateTime& now) {
  LiveList& list = *liveList;
  LineStore& rows = list.Rows();
  const QString caption = list.Caption();
  list.SetBusy(true);
  // The flush does not yield: no other handler may run while the list is cut.
  ProgressPacer pacer(list, false);
  const bool written = WriteLinesToFile(
      FlushFileName(FlushFolder(), now), rows.count(), [&rows](int r) { return rows.bytes(r); },
      [](int r) { return QStringLiteral("%1 Records Completed").arg(r); }, pacer);
  list.SetCaption(caption);
  if (written) {
    rows.truncate(1);
    list.RowsChanged();
  }
  list.SetBusy(false);
  return written;
}

void FileTransfer::ClearFileLabels() {
  labels.fileName.clear();
  labels.count.clear();
  labels.recording.clear();
  LabelsChanged();
}

void FileTransfer::SaveCommand() {
  if (!instrument_.meter.ReadingUnit.isEmpty() && !FileRecording) {
    const std::optional<QString> path = ChooseSaveFile();
    if (path) StartFileRecording(*path);
  } else {
    StopFileRecording();
  }
}

bool FileTransfer::StartFileRecording(const QString& path) {
  if (!recordFile_.Create(path)) {
    FileChosen = false;
    instrument_.dialogs.message(
        QStringLiteral("The data file cannot be created:\n%1").arg(QDir::toNativeSeparators(path)),
        kProgramTitle, MessageIcon::Exclamation);
    return false;
  }
  RecordFileName = path;
  FileUnit = instrument_.meter.ReadingUnit;
  FilePart = 0;
  labels.fileName = QFileInfo(path).fileName();
  labels.saveButtonRecording = true;
  recordFile_.WriteHeader(FileUnit);
  FileRecording = true;
  labels.recordingVisible = true;
  LabelsChanged();
  return true;
}

void FileTransfer::StopFileRecording() {
  FileRecording = false;
  labels.saveButtonRecording = false;
  labels.recordingVisible = false;
  labels.recording.clear();
  labels.count.clear();
  labels.fileName.clear();
  FileRecordCount = 0;
  recordFile_.Close();
  FileChosen = false;
  LabelsChanged();
}

std::optional<QString> FileTransfer::ChooseSaveFile() {
  const QString path = instrument_.dialogs.saveFileName(kDataFileFilter, LastDataFolder);
  FileChosen = !QFileInfo(path).fileName().isEmpty();
  if (!FileChosen) return std::nullopt;
  LastDataFolder = QFileInfo(path).absolutePath();
  return path;
}

QString FileTransfer::FlushFolder() const {
  if (!LastDataFolder.isEmpty()) return LastDataFolder;
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void FileTransfer::ListCommand(const std::function<LiveList*()>& openList) {
  if (instrument_.meter.ReadingUnit.isEmpty() || ListRecording) return;
  ListUnit = instrument_.meter.ReadingUnit;
  liveList = openList();
  ListRecording = liveList != nullptr;
}

void FileTransfer::ListClosed() {
  ListRecording = false;
  ListRecordCount = 0;
  liveList = nullptr;
}

void FileTransfer::StartLiveRows(LineStore& rows) const {
  rows.clear();
  rows.append(HeaderText(ListUnit));
}

void FileTransfer::SetSamplingInterval(const std::function<void()>& showSamplingChoice) {
  if (showSamplingChoice) showSamplingChoice();
  if (PcSampling) {
    AskPcInterval();
  } else {
    AskMeterInterval();
  }
}

std::optional<int> FileTransfer::AskInterval(int maxSeconds, const QString& current) {
  const QString prompt = kIntervalPrompt + QStringLiteral("(1 <= t <= %1 ) ").arg(maxSeconds);
  for (;;) {
    const QString answer = instrument_.dialogs.input(prompt, kIntervalTitle, current);
    if (answer.isEmpty()) return std::nullopt;
    if (const std::optional<int> seconds = IntervalFromEntry(answer, maxSeconds)) return seconds;
    instrument_.dialogs.message(kNotANumber, kProgramTitle, MessageIcon::Exclamation);
  }
}

void FileTransfer::AskPcInterval() {
  const std::optional<int> seconds = AskInterval(kMaxPcInterval, SingleText(SampleInterval));
  if (!seconds) return;
  SampleInterval = static_cast<float>(*seconds);
  SampleTicks = 0;
}

void FileTransfer::AskMeterInterval() {
  instrument_.PauseTimers();
  const int current = ReadMeterInterval(instrument_);
  if (const std::optional<int> seconds = AskInterval(kMaxMeterInterval, QString::number(current)))
    WriteMeterInterval(instrument_, *seconds);
  instrument_.ResumeTimers();
}

}  // namespace solardesk
