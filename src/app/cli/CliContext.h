#pragma once

#include <QFile>
#include <QTextStream>
#include <atomic>
#include <functional>
#include <memory>

#include "Arguments.h"
#include "core/Clock.h"
#include "core/NoDialogs.h"
#include "panel/logic/Instrument.h"

namespace solardesk::cli {

enum ExitCode { kOk = 0, kNoData = 1, kUsage = 2 };

// The error of every command when the meter is found but silent: "not answering", as the
// windows say it.
inline const QString kNotAnswering = QStringLiteral("the meter is not answering");

// What every command works with: the instrument on the chosen bus, the clock, standard output
// for the result and standard error for the one line of an error.
class CliContext {
 public:
  CliContext(HidBackend& backend, Clock& clock);

  Instrument& instrument() { return instrument_; }
  MeterLink& link() { return instrument_.link; }
  Clock& clock() { return clock_; }
  NoDialogs& dialogs() { return dialogs_; }
  QTextStream& out() { return out_; }
  // Writes bytes to standard output as they are (data-file texts with their CR LF).
  void WriteRaw(const QByteArray& bytes);

  // Writes "solardesk-cli: <message>" on standard error and returns `code`.
  int Fail(const QString& message, int code = kNoData);
  // The usage of the command being run; UsageError reports what was wrong with its arguments.
  void SetUsage(const QString& usage) { usage_ = usage; }
  const QString& Usage() const { return usage_; }
  int UsageError(const Arguments& args) { return Fail(args.Error(usage_), kUsage); }

  // Finds the meter; on failure writes the error (naming the udev rule when a meter exists but
  // cannot be opened) and returns false.
  bool Connect();
  // One query; false (with the error written) when the meter did not answer.
  bool Query(unsigned code, const std::vector<unsigned>& parameters = {});
  // One action or setting; false (with the error written) when the meter is not connected.
  bool Send(unsigned code, const std::vector<unsigned>& parameters = {});
  // Runs the exchanges of one of the shared logic functions on the connected meter: false (with
  // the error written) when no meter was found or it did not answer. `answerExpected` is false
  // for commands that only write.
  bool Exchange(const std::function<void()>& exchange, bool answerExpected = true);

  // Appends every report written and read to `path`, one line each.
  bool StartTrace(const QString& path);

  // Set by Ctrl-C and SIGTERM; long commands stop cleanly when it is set.
  static std::atomic<bool> stopRequested;

 private:
  Clock& clock_;
  NoDialogs dialogs_;
  Instrument instrument_;
  QTextStream out_;
  QString usage_;
  std::unique_ptr<QFile> trace_;
};

}  // namespace solardesk::cli
