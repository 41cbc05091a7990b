#include "RecordCommand.h"

#include <QDir>
#include <QEventLoop>

#include "DisplayCommands.h"
#include "recording/logic/IntervalEntry.h"
#include "recording/logic/Recorder.h"
#include "recording/logic/SecondTicker.h"

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

  Recorder recorder(instrument);
  recorder.SetSampleInterval(interval);  // the first tick takes a sample
  if (!recorder.StartFileRecording(*path)) {
    // The cause as the windows say it, a file another recording holds among them.
    return cli.Fail(QStringLiteral("cannot create the data file %1: %2")
                        .arg(QDir::toNativeSeparators(*path), recorder.recordFile().ErrorText()));
  }

  // The main window's two timers, driven by an event loop of our own; the recording tick comes
  // once in every second of the clock.
  QEventLoop loop;
  bool unitChanged = false;
  bool failing = false;
  const auto pollConnection = QObject::connect(&instrument.Timer1, &QTimer::timeout, [&] {
    if (CliContext::stopRequested) {
      loop.quit();
      return;
    }
    instrument.PollTick();
  });
  const RecordingHealth& health = recorder.health();
  SecondTicker ticker(instrument.Timer2, instrument.clock, [&] {
    recorder.RecordingTick();
    if (!recorder.fileRecording()) {
      unitChanged = true;
      loop.quit();
      return;
    }
    if (!health.notice.isEmpty()) cli.Fail(recorder.TakeNotice());
    // Say when samples start to go unwritten, and when they are written again.
    if (health.Failing() != failing) {
      failing = health.Failing();
      if (failing) {
        cli.Fail(QStringLiteral("not saved: %1").arg(health.cause));
      } else {
        cli.Fail(QStringLiteral("saving again"));
      }
    }
    const long long taken = static_cast<long long>(recorder.fileRecordCount()) +
                            health.unwrittenTotal - health.atRiskTotal;
    if (*count > 0 && taken >= *count) loop.quit();
  });
  instrument.ResumeTimers();
  loop.exec();
  instrument.PauseTimers();
  QObject::disconnect(pollConnection);
  const long long samples = static_cast<long long>(recorder.fileRecordCount());
  const long long unwritten = health.unwrittenTotal;
  const QString cause = health.cause.isEmpty() ? QStringLiteral("see above") : health.cause;
  if (recorder.fileRecording()) recorder.StopFileRecording();
  // The last lines reach the disk when the file is closed; a failure there fails the recording.
  WriteGate& gate = WriteGate::Shared();
  const bool synced = gate.WaitForSyncs(kExitSyncWaitMs);
  const QStringList late = gate.TakeLateFailures();

  if (unitChanged) {
    return cli.Fail(QStringLiteral("the meter changed its unit; the recording ended after %1 "
                                   "samples")
                        .arg(samples));
  }
  if (unwritten > 0) {
    return cli.Fail(QStringLiteral("%1 sample(s) could not be written to %2 (%3)")
                        .arg(unwritten)
                        .arg(QDir::toNativeSeparators(*path), cause));
  }
  if (!late.isEmpty()) return cli.Fail(QStringLiteral("not saved: %1").arg(late.join(u"; ")));
  if (!synced) {
    return cli.Fail(
        QStringLiteral("the disk did not take the last data within %1 seconds; leaving without "
                       "waiting for it")
            .arg(kExitSyncWaitMs / 1000));
  }
  return kOk;
}

}  // namespace solardesk::cli
