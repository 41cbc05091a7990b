#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "DataFileWriter.h"
#include "LineStore.h"
#include "LongLoop.h"
#include "RecordingHealth.h"

namespace solardesk {

class Instrument;

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

// Recording on the PC and the data files (the FileTransfer module): the recording state, the
// recording tick on Timer2, the Save toggle and the sampling-interval command. One instance for
// the life of the program, on the GUI thread.
class FileTransfer {
 public:
  explicit FileTransfer(Instrument& instrument);

  // Recording state.
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
  bool PcSampling = false;  // last choice of the SamplingChoice window
  // Data files and list windows.
  bool FileChosen = false;
  QString OpenedFileUnit;
  bool FileListOpen = false;
  bool DataListOpen = false;
  int PlotPointCount = 0;
  // The folder of the last data file created; empty until one was.
  QString LastDataFolder;

  RecordingLabels labels;
  RecordingHealth health;
  std::function<void()> onLabelsChanged;
  // The open RealTimeList window, while list recording is on.
  LiveList* liveList = nullptr;

  // One tick of Timer2.
  void RecordingTick();

  // The toolbar's "Save": starts file recording after the save dialog when the meter shows a
  // unit and nothing is recorded; stops it otherwise.
  void SaveCommand();
  // Starts recording into `path` (the save dialog's answer). False when the file cannot be
  // created: then nothing starts and the Save button stays idle.
  bool StartFileRecording(const QString& path);
  void StopFileRecording();

  // The save dialog: the chosen full path, or nothing on Cancel. Sets FileChosen. The caller
  // decides what the name is for: only "Save" makes it RecordFileName, so that saving a list
  // while recording leaves the recording alone.
  std::optional<QString> ChooseSaveFile();
  // The save dialog for a file about to be written: a name that is being recorded, or that a
  // list save is writing, is refused with a message and the dialog asked again.
  std::optional<QString> ChooseFreeSaveFile();
  // Writes a list to `path` with `write`; meanwhile the name counts as in use. Remembers the
  // folder once the file exists.
  bool WriteListFile(const QString& path, const std::function<bool()>& write);

  // Recording (file or list) is on.
  bool Recording() const { return FileRecording || ListRecording; }
  // The timers were seen by the event loop to be off for `seconds` whole seconds since the
  // last recording tick: recording is paused, and the samples due meanwhile are missed.
  void TimersHeldOff(qint64 seconds);
  // The timers run again.
  void TimersRunning();
  // The file being recorded now (a continuation file once the first is full).
  const RecordFile& recordFile() const { return recordFile_; }

  // The toolbar's "List": starts list recording into `list` when the meter shows a unit and no
  // list is being recorded. `openList` opens the window (whose load builds the header from
  // ListUnit) and returns it.
  void ListCommand(const std::function<LiveList*()>& openList);
  // The live list's unload.
  void ListClosed();
  // The header row of a new live list.
  void StartLiveRows(LineStore& rows) const;

  // The toolbar's "Interval": `showSamplingChoice` shows the SamplingChoice window modally and
  // leaves the choice in PcSampling.
  void SetSamplingInterval(const std::function<void()>& showSamplingChoice);

  // Where a full live list is flushed: the last data folder, or the user's documents folder.
  QString FlushFolder() const;

 private:
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
  void AskPcInterval();
  void AskMeterInterval();
  // The interval box, shown again after an entry that is not a number (with a warning) until
  // the user gives a number or cancels (nothing).
  std::optional<int> AskInterval(int maxSeconds, const QString& current);

  Instrument& instrument_;
  RecordFile recordFile_;     // FileNumber: the file being recorded
  float partStartCount_ = 0;  // FileRecordCount when the current file was begun
  // The earlier parts of the recording: still in use until it ends.
  std::vector<std::unique_ptr<FileWriter>> earlierParts_;
  bool syncFailing_ = false;   // the last sync of the recording failed
  bool flushFailing_ = false;  // the full live list could not be written yet
};

}  // namespace solardesk
