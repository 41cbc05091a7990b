#include "FileTransfer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

#include "DataFileFormat.h"
#include "IntervalEntry.h"
#include "MeterInterval.h"
#include "SingleText.h"
#include "panel/logic/Instrument.h"
#include "panel/logic/MeterAnswer.h"

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
  TimersRunning();
  if (SampleTicks < SampleInterval && SampleTicks != 0) {
    ++SampleTicks;
    return;
  }
  const QDateTime now = instrument_.clock.now();
  const QString dateTime = SampleTimeText(now);
  const QString value = instrument_.meter.ReadingText;
  const QString& unit = instrument_.meter.ReadingUnit;
  if (Recording()) health.lastSample = now;

  if (FileRecording && unit != FileUnit) {
    StopFileRecording();  // no line for this tick
    health.notice = kUnitChangedText;
    LabelsChanged();
  } else if (FileRecording) {
    // A sample the file could not take still goes to the live list.
    RecordToFile(now, dateTime, value);
  } else {
    ClearFileLabels();
    FileRecordCount = 0;
  }

  if (ListRecording && liveList) {
    if (unit != ListUnit) {
      EndListAtUnitChange(now);
    } else {
      RecordToList(now, dateTime, value);
      LabelsChanged();  // the list's count and the last sample's time
    }
  }
  SampleTicks = 1;
}

bool FileTransfer::ContinueWhenFull() {
  if (!IsFull(FileRecordCount) || FileRecordCount == partStartCount_) return true;
  // The full part stays in use, under its name, until the recording ends.
  if (recordFile_.IsOpen()) earlierParts_.push_back(recordFile_.Release());
  const int part = FilePart + 1;
  if (!recordFile_.Create(ContinuationName(RecordFileName, part), FileUnit)) return false;
  FilePart = part;
  partStartCount_ = FileRecordCount;
  return true;
}

bool FileTransfer::RecordToFile(const QDateTime& now, const QString& dateTime,
                                const QString& value) {
  // The number is used up only by a line that reached the file, so numbers stay consecutive.
  const float number = FileRecordCount + 1;
  if (!ContinueWhenFull() || !recordFile_.WriteRecord(number, dateTime, value)) {
    health.cause = recordFile_.ErrorText();
    NoteUnwritten();
    return false;
  }
  FileRecordCount = number;
  if (recordFile_.TakeRecreated()) health.notice = kFileRecreatedText;
  recordFile_.SyncIfDue(now);
  NoteSyncs();
  if (!syncFailing_) {
    health.unwritten = 0;
    health.cause.clear();
  }
  labels.count = SingleText(FileRecordCount);
  labels.recording = health.Failing() ? kNotSavedText : QStringLiteral("Rec");
  LabelsChanged();
  return true;
}

void FileTransfer::NoteSyncs() {
  const SyncOutcome syncs = recordFile_.TakeSyncOutcome();
  if (syncs.failed) {
    // Lines the disk may not hold: as good as unwritten.
    syncFailing_ = true;
    health.cause = syncs.cause;
    health.unwritten += static_cast<int>(std::max<long long>(1, syncs.linesAtRisk));
    health.unwrittenTotal += std::max<long long>(1, syncs.linesAtRisk);
    health.atRiskTotal += std::max<long long>(1, syncs.linesAtRisk);
  } else if (syncs.recovered) {
    syncFailing_ = false;
  }
}

void FileTransfer::NoteUnwritten(long long samples) {
  health.unwritten += static_cast<int>(samples);
  health.unwrittenTotal += samples;
  labels.recording = kNotSavedText;
  LabelsChanged();
}

void FileTransfer::RecordToList(const QDateTime& now, const QString& dateTime,
                                const QString& value) {
  // A full list that could not be written is tried again at every sample, keeping its rows.
  if (IsFull(ListRecordCount) || flushFailing_) {
    if (FlushLiveList(now)) {
      if (flushFailing_) {
        flushFailing_ = false;
        health.unwritten = 0;
        health.cause.clear();
        labels.recording = FileRecording ? QStringLiteral("Rec") : QString();
      }
    } else {
      flushFailing_ = true;
      health.cause = QStringLiteral("The full list cannot be written to %1")
                         .arg(QDir::toNativeSeparators(FlushFolder()));
      NoteUnwritten();
    }
  }
  ListRecordCount += 1;
  liveList->Rows().append(ListRowText(ListNumberCell(ListRecordCount), dateTime, value));
  liveList->RowsChanged();
  if (ListRecordCount > 16) liveList->FollowNewest();
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

void FileTransfer::EndListAtUnitChange(const QDateTime& now) {
  // The rows listed so far are kept in a flush file before the list closes. A list that cannot
  // be written stays open, no longer recording, so that it can still be saved by hand.
  const bool hasRows = liveList->Rows().count() > 1;
  const QString path = FlushFileName(FlushFolder(), now);
  const bool written = !hasRows || FlushLiveList(now);
  ListRecording = false;
  flushFailing_ = false;
  if (!written) {
    health.notice = kUnitChangedText +
                    QStringLiteral("; the list cannot be written to %1: save it from its window")
                        .arg(QDir::toNativeSeparators(FlushFolder()));
    liveList = nullptr;
    ListRecordCount = 0;
    if (!Recording()) TimersRunning();
    LabelsChanged();
    return;
  }
  liveList->Close();
  // After the close, whose unload forgets what was said while the list recorded.
  health.notice =
      hasRows ? kUnitChangedText +
                    QStringLiteral("; the list is saved in %1").arg(QDir::toNativeSeparators(path))
              : kUnitChangedText;
  LabelsChanged();
}

namespace {

// Samples that fall due in `ticks` ticks after a tick that left the counter at `sampleTicks`.
long long MissedSamples(int sampleTicks, float interval, qint64 ticks) {
  const auto n = static_cast<qint64>(interval);
  const qint64 first = (sampleTicks == 0 || sampleTicks >= n) ? 1 : n - sampleTicks + 1;
  return ticks >= first ? 1 + (ticks - first) / n : 0;
}

}  // namespace

void FileTransfer::TimersHeldOff(qint64 seconds) {
  if (!Recording()) {
    TimersRunning();
    return;
  }
  health.paused = true;
  health.missedWhilePaused = MissedSamples(SampleTicks, SampleInterval, seconds);
  LabelsChanged();
}

void FileTransfer::TimersRunning() {
  if (!health.paused) return;
  health.paused = false;
  // The count stays, as the last pause's, until the recording ends or a sink starts or stops.
  health.pausedBefore = true;
  LabelsChanged();
}

void FileTransfer::ResetHealthIfIdle() {
  if (Recording()) return;
  health = RecordingHealth();
}

void FileTransfer::ForgetLastPause() {
  if (health.paused) return;
  health.pausedBefore = false;
  health.missedWhilePaused = 0;
}

void FileTransfer::ClearFileLabels() {
  labels.fileName.clear();
  labels.count.clear();
  labels.recording.clear();
  LabelsChanged();
}

void FileTransfer::SaveCommand() {
  if (!instrument_.meter.ReadingUnit.isEmpty() && !FileRecording) {
    const std::optional<QString> path = ChooseFreeSaveFile();
    if (path) StartFileRecording(*path);
  } else {
    StopFileRecording();
  }
}

bool FileTransfer::StartFileRecording(const QString& path) {
  const QString unit = instrument_.meter.ReadingUnit;
  if (!recordFile_.Create(path, unit)) {
    FileChosen = false;
    const QString why = recordFile_.ErrorText();
    instrument_.dialogs.message(why == kBeingRecordedText || why == kBeingSavedText
                                    ? why
                                    : QStringLiteral("The data file cannot be created:\n%1")
                                          .arg(QDir::toNativeSeparators(path)),
                                kProgramTitle, MessageIcon::Exclamation);
    return false;
  }
  LastDataFolder = QFileInfo(path).absolutePath();
  ResetHealthIfIdle();
  ForgetLastPause();
  syncFailing_ = false;
  RecordFileName = path;
  FileUnit = unit;
  FilePart = 0;
  partStartCount_ = 0;
  labels.fileName = QFileInfo(path).fileName();
  labels.saveButtonRecording = true;
  // A header that could not be written is tried again before the first record.
  if (!recordFile_.HeaderWritten()) health.cause = recordFile_.ErrorText();
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
  earlierParts_.clear();
  syncFailing_ = false;
  FileChosen = false;
  health.unwritten = 0;
  health.cause.clear();
  health.notice.clear();
  if (!Recording()) health.paused = false;
  ForgetLastPause();
  LabelsChanged();
}

std::optional<QString> FileTransfer::ChooseSaveFile() {
  const QString path = instrument_.dialogs.saveFileName(kDataFileFilter, LastDataFolder);
  FileChosen = !QFileInfo(path).fileName().isEmpty();
  if (!FileChosen) return std::nullopt;
  return path;
}

std::optional<QString> FileTransfer::ChooseFreeSaveFile() {
  return WriteGate::Shared().AskFree(instrument_.dialogs, [this] { return ChooseSaveFile(); });
}

bool FileTransfer::WriteListFile(const QString& path, const std::function<bool()>& write) {
  const bool written = write();
  if (QFileInfo::exists(path)) LastDataFolder = QFileInfo(path).absolutePath();
  return written;
}

QString FileTransfer::FlushFolder() const {
  if (!LastDataFolder.isEmpty()) return LastDataFolder;
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void FileTransfer::ListCommand(const std::function<LiveList*()>& openList) {
  if (instrument_.meter.ReadingUnit.isEmpty() || ListRecording) return;
  ResetHealthIfIdle();
  ForgetLastPause();
  ListUnit = instrument_.meter.ReadingUnit;
  liveList = openList();
  ListRecording = liveList != nullptr;
  LabelsChanged();
}

void FileTransfer::ListClosed() {
  const bool wasRecording = liveList != nullptr;
  ListRecording = false;
  ListRecordCount = 0;
  liveList = nullptr;
  if (!Recording()) TimersRunning();
  if (wasRecording) {
    ForgetLastPause();
    health.notice.clear();
  }
  LabelsChanged();
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
  // An earlier answer is no interval: a silent meter is "not answering", an absent one "not
  // connected".
  if (!AnsweredOrSay(instrument_)) {
    instrument_.ResumeTimers();
    return;
  }
  // A meter that holds 0 (or an answer that is not the meter's) still offers a value the
  // prompt's range takes.
  const int offered = std::clamp(current, 1, kMaxMeterInterval);
  if (const std::optional<int> seconds = AskInterval(kMaxMeterInterval, QString::number(offered)))
    WriteMeterInterval(instrument_, *seconds);
  instrument_.ResumeTimers();
}

}  // namespace solardesk
