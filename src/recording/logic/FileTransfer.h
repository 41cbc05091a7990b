#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "Recorder.h"

namespace solardesk {

class Instrument;

// The recording commands that ask the user (the FileTransfer module): the toolbar's "Save" with
// its save dialog, "List", and the sampling-interval command with the SamplingChoice window and
// the interval box; the recording itself is the recorder's. One instance for the life of the
// program, on the GUI thread.
class FileTransfer {
 public:
  explicit FileTransfer(Instrument& instrument);

  Recorder recorder;
  bool PcSampling = false;  // last choice of the SamplingChoice window
  // Data files and list windows.
  bool FileChosen = false;
  QString OpenedFileUnit;
  bool FileListOpen = false;
  bool DataListOpen = false;
  int PlotPointCount = 0;

  // The toolbar's "Save": starts file recording after the save dialog when the meter shows a
  // unit and nothing is recorded; stops it otherwise.
  void SaveCommand();
  // Starts recording into `path` (the save dialog's answer). False when the file cannot be
  // created: then a message says so, nothing starts and the Save button stays idle.
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

  // The toolbar's "List": starts list recording into the window `openList` opens (see
  // Recorder::StartListRecording).
  void ListCommand(const std::function<LiveList*()>& openList);

  // The toolbar's "Interval": `showSamplingChoice` shows the SamplingChoice window modally and
  // leaves the choice in PcSampling.
  void SetSamplingInterval(const std::function<void()>& showSamplingChoice);

 private:
  void AskPcInterval();
  void AskMeterInterval();
  // The interval box, shown again after an entry that is not a number (with a warning) until
  // the user gives a number or cancels (nothing).
  std::optional<int> AskInterval(int maxSeconds, const QString& current);

  Instrument& instrument_;
};

}  // namespace solardesk
