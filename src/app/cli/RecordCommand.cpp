#include "RecordCommand.h"

#include <QDir>
#include <QEventLoop>

#include "DisplayCommands.h"
#include "recording/logic/FileTransfer.h"
#include "recording/logic/IntervalEntry.h"

namespace solardesk::cli {

int RunRecord(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const std::optional<QString> intervalText = a.Value(QStringLiteral("--interval"));
  const std::optional<long long> count = a.Count(QStringLiteral("--count"));
  const std::optional<QString> path = a.Next();
  if (!intervalText || !count || !path || !a.Done()) return cli.UsageError(a);
  int interval = 1;
  if (!intervalText->isEmpty()) {
    const std::optional<int> seconds = IntervalFromEntry(*intervalText, kMaxPcInterval);
    if (!seconds) {
      return cli.Fail(QStringLiteral("\"%1\" is not a number of seconds").arg(*intervalText),
                      kUsage);
    }
    interval = *seconds;
  }

  if (!ReadDisplay(cli)) return kNoData;
  Instrument& instrument = cli.instrument();
  if (instrument.meter.ReadingUnit.isEmpty())
    return cli.Fail(QStringLiteral("the meter shows no unit; nothing was recorded"));

  FileTransfer transfer(instrument);
  transfer.SampleInterval = static_cast<float>(interval);
  transfer.SampleTicks = 0;  // the first tick takes a sample, as after a new interval
  if (!transfer.StartFileRecording(*path)) {
    return cli.Fail(
        QStringLiteral("cannot create the data file %1").arg(QDir::toNativeSeparators(*path)));
  }

  // The main window's two timers, driven by an event loop of our own.
  QEventLoop loop;
  long long samples = 0;
  bool unitChanged = false;
  const auto pollConnection = QObject::connect(&instrument.Timer1, &QTimer::timeout, [&] {
    if (CliContext::stopRequested) {
      loop.quit();
      return;
    }
    instrument.PollTick();
  });
  const auto tickConnection = QObject::connect(&instrument.Timer2, &QTimer::timeout, [&] {
    transfer.RecordingTick();
    if (!transfer.FileRecording) {
      unitChanged = true;
      loop.quit();
      return;
    }
    samples = static_cast<long long>(transfer.FileRecordCount);
    if (*count > 0 && samples >= *count) loop.quit();
  });
  instrument.ResumeTimers();
  loop.exec();
  instrument.PauseTimers();
  QObject::disconnect(pollConnection);
  QObject::disconnect(tickConnection);
  if (transfer.FileRecording) transfer.StopFileRecording();

  if (unitChanged) {
    return cli.Fail(QStringLiteral("the meter changed its unit; the recording ended after %1 "
                                   "samples")
                        .arg(samples));
  }
  return kOk;
}

}  // namespace solardesk::cli
