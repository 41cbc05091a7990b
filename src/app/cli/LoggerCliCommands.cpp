#include "LoggerCliCommands.h"

#include <QFile>
#include <cmath>

#include "logger/logic/DataListSink.h"
#include "logger/logic/LoggerDirectory.h"
#include "logger/logic/LoggerTexts.h"
#include "logger/logic/SetDownload.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk::cli {
namespace {

// The DataList window as text: the title built from the logger unit, then the entries.
class DataListText final : public DataListSink {
 public:
  bool IsOpen() const override { return open_; }
  void Close() override { open_ = false; }
  void Show(const QString& loggerUnit) override {
    open_ = true;
    text_ = HeaderText(loggerUnit).toLatin1() + kLineEnd;
  }
  void AddEntry(const QString& line) override { text_ += line.toLatin1() + kLineEnd; }
  // The lines as the DataList "Save" writes them, each ended by CR LF.
  const QByteArray& Text() const { return text_; }

 private:
  bool open_ = false;
  QByteArray text_;
};

// Reads the logger directory; false (with the error written) when the meter did not answer
// or holds nothing.
bool ReadDirectory(CliContext& cli, LoggerState& state, const DirectoryHooks& hooks) {
  bool listed = false;
  if (!cli.Exchange([&] { listed = ReadLoggerDirectory(cli.instrument(), state, hooks); }))
    return false;
  if (!listed) cli.Fail(loggertext::kNoData);
  return listed;
}

}  // namespace

int RunLoggerList(CliContext& cli, const QStringList& args) {
  if (!args.isEmpty()) return cli.UsageError(Arguments(args));
  LoggerState state;
  QString text;
  DirectoryHooks hooks;
  hooks.openMemory = [&text](const LoggerCapacity& capacity) {
    text += capacity.caption + QLatin1Char('\n');
    text += QStringLiteral("Used : %1 %\n").arg(static_cast<int>(std::floor(capacity.usedShare)));
  };
  hooks.addSet = [&text, &state](int set, const QString& startText) {
    text += QStringLiteral("%1\t%2\t%3\n").arg(set).arg(startText).arg(state.SetLength(set));
  };
  if (!ReadDirectory(cli, state, hooks)) return kNoData;
  cli.out() << text;
  return kOk;
}

int RunLoggerDownload(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const std::optional<QString> output = a.Value(QStringLiteral("-o"));
  const std::optional<QString> setText = a.Next();
  if (!output || !setText || !a.Done()) return cli.UsageError(a);
  bool ok = false;
  const int set = setText->toInt(&ok);
  if (!ok) return cli.Fail(QStringLiteral("\"%1\" is not a set number").arg(*setText), kUsage);

  LoggerState state;
  if (!ReadDirectory(cli, state, {})) return kNoData;
  const int count = cli.instrument().LoggerSetCount;
  if (set < 1 || set > count) {
    return cli.Fail(QStringLiteral("there is no record set %1; the logger holds sets 1 to %2")
                        .arg(set)
                        .arg(count));
  }

  DataListText list;
  switch (DownloadLoggerSet(cli.instrument(), state, set, list, {})) {
    case DownloadOutcome::Listed:
      break;
    case DownloadOutcome::NotConnected:
      // Lost since the directory was read: looked for again, it is either not found or silent,
      // said as every command says it.
      return cli.Connect() ? cli.Fail(kNotAnswering) : kNoData;
    case DownloadOutcome::MeterStopped:
    case DownloadOutcome::Ended:
      return cli.Fail(loggertext::kMeterStopped);
    case DownloadOutcome::Unreadable:
      return cli.Fail(loggertext::kUnreadableSet);
  }

  if (output->isEmpty()) {
    cli.WriteRaw(list.Text());
    return kOk;
  }
  QFile file(*output);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(list.Text()) != list.Text().size() || !file.flush())
    return cli.Fail(QStringLiteral("cannot write %1: %2").arg(*output, file.errorString()));
  return kOk;
}

int RunLoggerErase(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const bool confirmed = a.Flag(QStringLiteral("--yes"));
  if (!a.Done()) return cli.UsageError(a);
  if (!confirmed) {
    return cli.Fail(loggertext::kEraseWarning + QStringLiteral(" Add --yes to erase."), kUsage);
  }
  // --yes is the OK to the erase question.
  cli.dialogs().questionAnswer = DialogAnswer::Ok;
  bool erased = false;
  if (!cli.Exchange([&] { erased = EraseLogger(cli.instrument(), {}); }, false)) return kNoData;
  return erased ? kOk : kNoData;
}

}  // namespace solardesk::cli
