#include "SetDownload.h"

#include <algorithm>

#include "LoggerSet.h"
#include "LoggerTexts.h"
#include "link/Commands.h"
#include "link/HexText.h"
#include "panel/logic/MeterAnswer.h"

namespace solardesk {
namespace {

// Events run and the bar moves once per this many lines: often enough for a responsive window,
// rarely enough that a set of 100,000 records is not slowed down by it.
constexpr std::size_t kLinesPerYield = 256;

void Progress(const DownloadHooks& hooks, int percent) {
  if (hooks.progress) hooks.progress(percent);
  if (hooks.letEventsRun) hooks.letEventsRun();
}

void FillList(const LoggerSetLines& set, DataListSink& dataList, const Instrument& instrument,
              const DownloadHooks& hooks) {
  const auto count = static_cast<std::size_t>(set.lines.size());
  for (std::size_t n = 0; n < count; ++n) {
    // The user may close the list while it fills; the rest of the lines then have no place.
    if (!dataList.IsOpen() || instrument.Ending()) return;
    dataList.AddEntry(set.lines[static_cast<qsizetype>(n)]);
    if ((n + 1) % kLinesPerYield == 0 || n + 1 == count)
      Progress(hooks, LineProgress(n, set.lastDataPos));
  }
}

}  // namespace

std::uint32_t TrustedSetLength(std::uint32_t announced, std::uint32_t capacityKb) {
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>(announced, std::uint64_t{capacityKb} * 1024));
}

DownloadOutcome ReceiveLoggerSet(Instrument& instrument, int setNumber, std::uint32_t setLength,
                                 const DownloadHooks& hooks, std::vector<std::uint8_t>& stream) {
  MeterLink& link = instrument.link;
  const std::uint64_t blocks = SetBlockCount(setLength);

  instrument.byteSlots.setCommand(cmd::kQuery, cmd::kQuerySetData);
  instrument.byteSlots.set(3, ToHexText(static_cast<unsigned>(setNumber)));
  // Without a connection the request is spent on finding the meter and never reaches it.
  const bool requestSent = link.MeterConnected();
  link.SendOutputReport();
  if (!requestSent) return DownloadOutcome::NotConnected;

  for (std::uint64_t b = 1; b <= blocks; ++b) {
    link.ReceiveInputReport();
    // A read that timed out drops the connection; the input report then holds an old answer.
    if (!link.MeterConnected()) return DownloadOutcome::MeterStopped;
    for (int i = 1; i <= static_cast<int>(loggerset::kBlockBytes); ++i)
      stream.push_back(link.InputByte(i));
    Progress(hooks, BlockProgress(b, blocks));
    if (instrument.Ending()) return DownloadOutcome::Ended;
  }
  return DownloadOutcome::Listed;
}

DownloadOutcome DownloadLoggerSet(Instrument& instrument, LoggerState& state, int setNumber,
                                  DataListSink& dataList, const DownloadHooks& hooks) {
  if (dataList.IsOpen()) dataList.Close();
  instrument.PauseTimers();

  const auto finish = [&instrument](DownloadOutcome outcome, const QString& message) {
    if (instrument.Ending()) return DownloadOutcome::Ended;
    if (!message.isEmpty())
      instrument.dialogs.message(message, kProgramTitle, MessageIcon::Exclamation);
    instrument.ResumeTimers();
    return outcome;
  };

  std::vector<std::uint8_t> stream;
  const std::uint32_t length = TrustedSetLength(state.SetLength(setNumber), state.CapacityKb);
  switch (ReceiveLoggerSet(instrument, setNumber, length, hooks, stream)) {
    case DownloadOutcome::Listed:
      break;
    case DownloadOutcome::NotConnected:
      return finish(DownloadOutcome::NotConnected, NoAnswerMessage(instrument.link));
    case DownloadOutcome::Ended:
      return finish(DownloadOutcome::Ended, QString());
    default:
      return finish(DownloadOutcome::MeterStopped, loggertext::kMeterStopped);
  }

  const auto set = ParseLoggerSet(stream, state.SetStartText(setNumber));
  if (!set) return finish(DownloadOutcome::Unreadable, loggertext::kUnreadableSet);

  state.LoggerUnit = set->unit;
  state.SetDecoded(setNumber, {static_cast<int>(set->lines.size()), set->intervalSeconds});
  if (dataList.IsOpen()) dataList.Close();
  dataList.Show(state.LoggerUnit);
  FillList(*set, dataList, instrument, hooks);
  return finish(DownloadOutcome::Listed, QString());
}

}  // namespace solardesk
