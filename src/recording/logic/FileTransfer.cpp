#include "FileTransfer.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

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

}  // namespace

FileTransfer::FileTransfer(Instrument& instrument)
    : recorder(instrument), instrument_(instrument) {}

void FileTransfer::SaveCommand() {
  if (!instrument_.meter.ReadingUnit.isEmpty() && !recorder.fileRecording()) {
    const std::optional<QString> path = ChooseFreeSaveFile();
    if (path) StartFileRecording(*path);
  } else {
    StopFileRecording();
  }
}

bool FileTransfer::StartFileRecording(const QString& path) {
  if (recorder.StartFileRecording(path)) return true;
  FileChosen = false;
  const QString why = recorder.recordFile().ErrorText();
  instrument_.dialogs.message(why == kBeingRecordedText || why == kBeingSavedText
                                  ? why
                                  : QStringLiteral("The data file cannot be created:\n%1")
                                        .arg(QDir::toNativeSeparators(path)),
                              kProgramTitle, MessageIcon::Exclamation);
  return false;
}

void FileTransfer::StopFileRecording() {
  recorder.StopFileRecording();
  FileChosen = false;
}

std::optional<QString> FileTransfer::ChooseSaveFile() {
  const QString path = instrument_.dialogs.saveFileName(kDataFileFilter, recorder.lastDataFolder());
  FileChosen = !QFileInfo(path).fileName().isEmpty();
  if (!FileChosen) return std::nullopt;
  return path;
}

std::optional<QString> FileTransfer::ChooseFreeSaveFile() {
  return WriteGate::Shared().AskFree(instrument_.dialogs, [this] { return ChooseSaveFile(); });
}

bool FileTransfer::WriteListFile(const QString& path, const std::function<bool()>& write) {
  const bool written = write();
  if (QFileInfo::exists(path)) recorder.SetLastDataFolder(QFileInfo(path).absolutePath());
  return written;
}

void FileTransfer::ListCommand(const std::function<LiveList*()>& openList) {
  recorder.StartListRecording(openList);
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
  const std::optional<int> seconds =
      AskInterval(kMaxPcInterval, SingleText(recorder.sampleInterval()));
  if (!seconds) return;
  recorder.SetSampleInterval(*seconds);
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
