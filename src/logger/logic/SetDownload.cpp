#include "SetDownload.h"

#include "LoggerSet.h"
#include "LoggerTexts.h"
#include "link/Commands.h"
#include "link/HexText.h"

namespace solardesk {
namespace {

// Events run and the bar moves once per this many lines: often enough for a responsive window,
// rarely enough that a set of 100,000 records is not slowed down by it.
constexpr std::size_t kLinesPerYield = 256;

void Progress(const DownloadHooks& hooks, int percent) {
  if (hooks.progress) hooks.progress(percent);
  if (hooks.letEventsRun) hooks.letEventsRun();
}

void FillList(const LoggerSetLines& set, DataListSink& dataList, const DownloadHooks& hooks) {
  const auto count = static_cast<std::size_t>(set.lines.size());
  for (std::size_t n = 0; n < count; ++n) {
    // The user may close the list while it fills; the rest of the lines then have no place.
    if (!dataList.IsOpen()) return;
    dataList.AddEntry(set.lines[static_cast<qsizetype>(n)]);
    if ((n + 1) % kLinesPerYield == 0 || n + 1 == count)
      Progress(hooks, LineProgress(n, set.lastDataPos));
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReceiveLoggerSet(Instrument& instrument, int setNumber,
                                                          std::uint32_t setLength,
                                                          const DownloadHooks& hooks) {
  MeterLink& link = instrument.link;
  const std::uint64_t blocks = SetBlockCount(setLength);

  instrument.byteSlots.setCommand(cmd::kQuery, cmd::kQuerySetData);
  instrument.byteSlots.set(3, ToHexText(static_cast<unsigned>(setNumber)));
  // Without a connection the request is spent on finding the meter and never reaches it.
  const bool requestSent = link.MeterConnected();
  link.SendOutputReport();
  if (!requestSent) return std::nullopt;

  std::vector<std::uint8_t> stream;
  for (std::uint64_t b = 1; b <= blocks; ++b) {
    link.ReceiveInputReport();
    // A read that timed out drops the connection; the input report then holds an old answer.
    if (!link.MeterConnected()) return std::nullopt;
    for (int i = 1; i <= static_cast<int>(loggerset::kBlockBytes); ++i)
      stream.push_back(link.InputByte(i));
    Progress(hooks, BlockProgress(b, blocks));
  }
  return stream;
}

DownloadOutcome DownloadLoggerSet(Instrument& instrument, LoggerState& state, int setNumber,
                                  DataListSink& dataList, const DownloadHooks& hooks) {
  if (dataList.IsOpen()) dataList.Close();
  instrument.PauseTimers();

  const auto finish = [&instrument](DownloadOutcome outcome, const QString& message) {
    if (!message.isEmpty())
      instrument.dialogs.message(message, kProgramTitle, MessageIcon::Exclamation);
    instrument.ResumeTimers();
    return outcome;
  };

  const auto stream = ReceiveLoggerSet(instrument, setNumber, state.SetLength(setNumber), hooks);
  if (!stream) return finish(DownloadOutcome::MeterStopped, loggertext::kMeterStopped);

  const auto set = ParseLoggerSet(*stream, state.SetStartText(setNumber));
  if (!set) return finish(DownloadOutcome::Unreadable, loggertext::kUnreadableSet);

  state.LoggerUnit = set->unit;
  if (dataList.IsOpen()) dataList.Close();
  dataList.Show(state.LoggerUnit);
  FillList(*set, dataList, hooks);
  return finish(DownloadOutcome::Listed, QString());
}

}  // namespace solardesk
