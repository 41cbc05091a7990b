#include "Recorder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

#include "DataFileFormat.h"
#include "SingleText.h"
#include "panel/logic/Instrument.h"

namespace solardesk {
namespace {

// A counter that has just filled a file or a list: not 0 and a whole multiple of the limit.
bool IsFull(float count) {
  return count != 0.0f && std::fmod(static_cast<double>(count), kRecordsPerFile) == 0.0;
}

}  // namespace

Recorder::Recorder(Instrument& instrument) : instrument_(instrument) {}

void Recorder::SetSampleInterval(int seconds) {
  SampleInterval = static_cast<float>(seconds);
  SampleTicks = 0;
}

void Recorder::LabelsChanged() {
  if (onLabelsChanged) onLabelsChanged();
}

void Recorder::RecordingTick() {
  TimersRunning();
  if (SampleTicks < SampleInterval && SampleTicks != 0) {
    ++SampleTicks;
    return;
  }
  const QDateTime now = instrument_.clock.now();
  const QString dateTime = SampleTimeText(now);
  const QString value = instrument_.meter.ReadingText;
  const QString& unit = instrument_.meter.ReadingUnit;
  if (recording()) health_.lastSample = now;

  if (FileRecording && unit != FileUnit) {
    StopFileRecording();  // no line for this tick
    health_.notice = kUnitChangedText;
    LabelsChanged();
  } else if (FileRecording) {
    // A sample the file could not take still goes to the live list.
    RecordToFile(now, dateTime, value);
  } else {
    ClearFileLabels();
    FileRecordCount = 0;
  }

  if (ListRecording && liveList_) {
    if (unit != ListUnit) {
      EndListAtUnitChange(now);
    } else {
      RecordToList(now, dateTime, value);
      LabelsChanged();  // the list's count and the last sample's time
    }
  }
  SampleTicks = 1;
}

bool Recorder::ContinueWhenFull() {
  if (!IsFull(FileRecordCount) || FileRecordCount == partStartCount_) return true;
  // The full part stays in use, under its name, until the recording ends.
  if (recordFile_.IsOpen()) earlierParts_.push_back(recordFile_.Release());
  const int part = FilePart + 1;
  if (!recordFile_.Create(ContinuationName(RecordFileName, part), FileUnit)) return false;
  FilePart = part;
  partStartCount_ = FileRecordCount;
  return true;
}

bool Recorder::RecordToFile(const QDateTime& now, const QString& dateTime, const QString& value) {
  // The number is used up only by a line that reached the file, so numbers stay consecutive.
  const float number = FileRecordCount + 1;
  if (!ContinueWhenFull() || !recordFile_.WriteRecord(number, dateTime, value)) {
    health_.cause = recordFile_.ErrorText();
    NoteUnwritten();
    return false;
  }
  FileRecordCount = number;
  if (recordFile_.TakeRecreated()) health_.notice = kFileRecreatedText;
  recordFile_.SyncIfDue(now);
  NoteSyncs();
  if (!syncFailing_) {
    health_.unwritten = 0;
    health_.cause.clear();
  }
  labels_.count = SingleText(FileRecordCount);
  labels_.recording = health_.Failing() ? kNotSavedText : QStringLiteral("Rec");
  LabelsChanged();
  return true;
}

void Recorder::NoteSyncs() {
  const SyncOutcome syncs = recordFile_.TakeSyncOutcome();
  if (syncs.failed) {
    // Lines the disk may not hold: as good as unwritten.
    syncFailing_ = true;
    health_.cause = syncs.cause;
    health_.unwritten += static_cast<int>(std::max<long long>(1, syncs.linesAtRisk));
    health_.unwrittenTotal += std::max<long long>(1, syncs.linesAtRisk);
    health_.atRiskTotal += std::max<long long>(1, syncs.linesAtRisk);
  } else if (syncs.recovered) {
    syncFailing_ = false;
  }
}

void Recorder::NoteUnwritten(long long samples) {
  health_.unwritten += static_cast<int>(samples);
  health_.unwrittenTotal += samples;
  labels_.recording = kNotSavedText;
  LabelsChanged();
}

void Recorder::RecordToList(const QDateTime& now, const QString& dateTime, const QString& value) {
  // A full list that could not be written is tried again at every sample, keeping its rows.
  if (IsFull(ListRecordCount) || flushFailing_) {
    if (FlushLiveList(now)) {
      if (flushFailing_) {
        flushFailing_ = false;
        health_.unwritten = 0;
        health_.cause.clear();
        labels_.recording = FileRecording ? QStringLiteral("Rec") : QString();
      }
    } else {
      flushFailing_ = true;
      health_.cause = QStringLiteral("The full list cannot be written to %1")
                          .arg(QDir::toNativeSeparators(FlushFolder()));
      NoteUnwritten();
    }
  }
  ListRecordCount += 1;
  liveList_->Rows().append(ListRowText(ListNumberCell(ListRecordCount), dateTime, value));
  liveList_->RowsChanged();
  if (ListRecordCount > 16) liveList_->FollowNewest();
}

bool Recorder::FlushLiveList(const QDateTime& now) {
  LiveList& list = *liveList_;
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

void Recorder::EndListAtUnitChange(const QDateTime& now) {
  // The rows listed so far are kept in a flush file before the list closes. A list that cannot
  // be written stays open, no longer recording, so that it can still be saved by hand.
  const bool hasRows = liveList_->Rows().count() > 1;
  const QString path = FlushFileName(FlushFolder(), now);
  const bool written = !hasRows || FlushLiveList(now);
  ListRecording = false;
  flushFailing_ = false;
  if (!written) {
    health_.notice = kUnitChangedText +
                     QStringLiteral("; the list cannot be written to %1: save it from its window")
                         .arg(QDir::toNativeSeparators(FlushFolder()));
    liveList_ = nullptr;
    ListRecordCount = 0;
    if (!recording()) TimersRunning();
    LabelsChanged();
    return;
  }
  liveList_->Close();
  // After the close, whose unload forgets what was said while the list recorded.
  health_.notice =
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

void Recorder::TimersHeldOff(qint64 seconds) {
  if (!recording()) {
    TimersRunning();
    return;
  }
  health_.paused = true;
  health_.missedWhilePaused = MissedSamples(SampleTicks, SampleInterval, seconds);
  LabelsChanged();
}

void Recorder::TimersRunning() {
  if (!health_.paused) return;
  health_.paused = false;
  // The count stays, as the last pause's, until the recording ends or a sink starts or stops.
  health_.pausedBefore = true;
  LabelsChanged();
}

void Recorder::ResetHealthIfIdle() {
  if (recording()) return;
  health_ = RecordingHealth();
}

void Recorder::ForgetLastPause() {
  if (health_.paused) return;
  health_.pausedBefore = false;
  health_.missedWhilePaused = 0;
}

void Recorder::ClearFileLabels() {
  labels_.fileName.clear();
  labels_.count.clear();
  labels_.recording.clear();
  LabelsChanged();
}

bool Recorder::StartFileRecording(const QString& path) {
  const QString unit = instrument_.meter.ReadingUnit;
  if (!recordFile_.Create(path, unit)) return false;
  LastDataFolder = QFileInfo(path).absolutePath();
  ResetHealthIfIdle();
  ForgetLastPause();
  syncFailing_ = false;
  RecordFileName = path;
  FileUnit = unit;
  FilePart = 0;
  partStartCount_ = 0;
  labels_.fileName = QFileInfo(path).fileName();
  labels_.saveButtonRecording = true;
  // A header that could not be written is tried again before the first record.
  if (!recordFile_.HeaderWritten()) health_.cause = recordFile_.ErrorText();
  FileRecording = true;
  labels_.recordingVisible = true;
  LabelsChanged();
  return true;
}

void Recorder::StopFileRecording() {
  FileRecording = false;
  labels_.saveButtonRecording = false;
  labels_.recordingVisible = false;
  labels_.recording.clear();
  labels_.count.clear();
  labels_.fileName.clear();
  FileRecordCount = 0;
  recordFile_.Close();
  earlierParts_.clear();
  syncFailing_ = false;
  health_.unwritten = 0;
  health_.cause.clear();
  health_.notice.clear();
  if (!recording()) health_.paused = false;
  ForgetLastPause();
  LabelsChanged();
}

QString Recorder::FlushFolder() const {
  if (!LastDataFolder.isEmpty()) return LastDataFolder;
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void Recorder::StartListRecording(const std::function<LiveList*()>& openList) {
  if (instrument_.meter.ReadingUnit.isEmpty() || ListRecording) return;
  ResetHealthIfIdle();
  ForgetLastPause();
  ListUnit = instrument_.meter.ReadingUnit;
  liveList_ = openList();
  ListRecording = liveList_ != nullptr;
  LabelsChanged();
}

void Recorder::ListClosed() {
  const bool wasRecording = liveList_ != nullptr;
  ListRecording = false;
  ListRecordCount = 0;
  liveList_ = nullptr;
  if (!recording()) TimersRunning();
  if (wasRecording) {
    ForgetLastPause();
    health_.notice.clear();
  }
  LabelsChanged();
}

void Recorder::StartLiveRows(LineStore& rows) const {
  rows.clear();
  rows.append(HeaderText(ListUnit));
}

}  // namespace solardesk
