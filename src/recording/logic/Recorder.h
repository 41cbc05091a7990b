#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "DataFileWriter.h"
#include "LineStore.h"
#include "LongLoop.h"
#include "RecordingHealth.h"

namespace solardesk {

class Instrument;

namespace testing {
struct RecorderAccess;
}

// The live list window as the recording tick sees it.
class LiveList : public LongLoop {
 public:
  // The list in list form, one line per row: row 0 the header, then one row per sample.
  virtual LineStore& Rows() = 0;
  // Rows were appended or cut; lets the view catch up.
  virtual void RowsChanged() = 0;
  // Scrolls the columns down by one row, so that the newest row stays in view.
  virtual void FollowNewest() = 0;
  // Closes the window; its unload ends list recording (ListClosed).
  virtual void Close() = 0;
};

// What the main window shows of file recording: the captions of LblFileName, LblCount and
// LblRecording, whether LblRecording is visible, and the Save button's state.
struct RecordingLabels {
  QString fileName;
  QString count;
  QString recording;
  bool recordingVisible = false;
  bool saveButtonRecording = false;
};

// The recorder: the recording state, the recording tick on Timer2 and the two sinks it feeds
// (the data file with its continuation files, the live list with its flushes), the health of the
// recording and the main window's labels. It asks nobody anything: the commands that ask the
// user (FileTransfer) and the command line drive it. One instance for the life of the program,
// on the GUI thread.
class Recorder {
 public:
  explicit Recorder(Instrument& instrument);

  // The recording state.
  float sampleInterval() const { return SampleInterval; }
  int sampleTicks() const { return SampleTicks; }
  bool fileRecording() const { return FileRecording; }
  const QString& recordFileName() const { return RecordFileName; }
  float fileRecordCount() const { return FileRecordCount; }
  int filePart() const { return FilePart; }
  const QString& fileUnit() const { return FileUnit; }
  bool listRecording() const { return ListRecording; }
  float listRecordCount() const { return ListRecordCount; }
  const QString& listUnit() const { return ListUnit; }
  // Recording (file or list) is on.
  bool recording() const { return FileRecording || ListRecording; }
  // The folder of the last data file created or opened; empty until there was one.
  const QString& lastDataFolder() const { return LastDataFolder; }
  const RecordingLabels& labels() const { return labels_; }
  const RecordingHealth& health() const { return health_; }
  // The file being recorded now (a continuation file once the first is full).
  const RecordFile& recordFile() const { return recordFile_; }

  // The PC sampling interval, a whole number of seconds 1..86400; the next tick samples.
  void SetSampleInterval(int seconds);
  void SetLastDataFolder(const QString& folder) { LastDataFolder = folder; }
  // Takes the notice of the health (said once).
  QString TakeNotice() { return std::exchange(health_.notice, QString()); }
  // Runs whenever the labels or the health changed.
  std::function<void()> onLabelsChanged;

  // One tick of Timer2.
  void RecordingTick();

  // Starts recording into `path` in the meter's unit. False when the file cannot be created
  // (recordFile().ErrorText() says why): then nothing starts.
  bool StartFileRecording(const QString& path);
  void StopFileRecording();

  // Starts list recording when the meter shows a unit and no list is being recorded: `openList`
  // opens the window (whose load builds the header from the list unit) and returns it.
  void StartListRecording(const std::function<LiveList*()>& openList);
  // The live list's unload.
  void ListClosed();
  // The header row of a new live list.
  void StartLiveRows(LineStore& rows) const;

  // The timers were seen by the event loop to be off for `seconds` whole seconds since the
  // last recording tick: recording is paused, and the samples due meanwhile are missed.
  void TimersHeldOff(qint64 seconds);
  // The timers run again.
  void TimersRunning();

  // Where a full live list is flushed: the last data folder, or the user's documents folder.
  QString FlushFolder() const;

 private:
  friend struct testing::RecorderAccess;

  // False when the sample could not be written; the health says so.
  bool RecordToFile(const QDateTime& now, const QString& dateTime, const QString& value);
  // Begins the next continuation file once the current one is full. A continuation file that
  // cannot be created is tried again at the next sample under the same part number.
  bool ContinueWhenFull();
  void NoteUnwritten(long long samples = 1);
  // Takes what the syncs of the file met: a failed sync is a failed write.
  void NoteSyncs();
  void ResetHealthIfIdle();
  void RecordToList(const QDateTime& now, const QString& dateTime, const QString& value);
  bool FlushLiveList(const QDateTime& now);
  // The meter changed unit under the live list: its rows go to a flush file, then it closes.
  void EndListAtUnitChange(const QDateTime& now);
  // A sink started or stopped: the last pause belonged to the recording as it was.
  void ForgetLastPause();
  void ClearFileLabels();
  void LabelsChanged();

  Instrument& instrument_;
  float SampleInterval = 1;  // seconds, a whole number 1..86400 once set
  int SampleTicks = 0;       // Timer2 ticks since the last sample; 0: the next tick samples
  bool FileRecording = false;
  QString RecordFileName;  // the recording's file; continuation names are derived from it
  float FileRecordCount = 0;
  int FilePart = 0;
  QString FileUnit;
  bool ListRecording = false;
  float ListRecordCount = 0;
  QString ListUnit;
  QString LastDataFolder;
  RecordFile recordFile_;     // FileNumber: the file being recorded
  float partStartCount_ = 0;  // FileRecordCount when the current file was begun
  // The earlier parts of the recording: still in use until it ends.
  std::vector<std::unique_ptr<FileWriter>> earlierParts_;
  LiveList* liveList_ = nullptr;  // the open RealTimeList window, while list recording is on
  RecordingLabels labels_;
  RecordingHealth health_;
  bool syncFailing_ = false;   // the last sync of the recording failed
  bool flushFailing_ = false;  // the full live list could not be written yet
};

}  // namespace solardesk
