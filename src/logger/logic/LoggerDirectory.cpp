#include "LoggerDirectory.h"

#include <algorithm>
#include <cmath>

#include "LoggerTexts.h"
#include "link/Commands.h"
#include "link/HexText.h"
#include "panel/logic/MeterAnswer.h"

namespace solardesk {
namespace {

// Answers carry unsigned 32-bit numbers, least significant byte first.
std::uint32_t Le32At(const MeterLink& link, int first) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | link.InputByte(first + i);
  return v;
}

QString StartTextAt(const MeterLink& link, int first) {
  QString text;
  for (int i = 0; i < 17; ++i) text.append(QChar(link.InputByte(first + i)));
  return text;
}

void Query(Instrument& instrument, unsigned code) {
  instrument.byteSlots.setCommand(cmd::kQuery, code);
  instrument.link.TransactReport();
}

}  // namespace

LoggerCapacity CapacityFor(std::uint32_t capacityKb, std::uint32_t freeKb, int setCount) {
  LoggerCapacity c;
  c.capacityKb = capacityKb;
  c.freeKb = (setCount >= kMostLoggerSets || freeKb <= kFreeSpaceFloorKb) ? 0 : freeKb;
  // A meter reporting no capacity, or more free space than capacity, shows an empty gauge
  // rather than a division by zero or a negative fill.
  if (capacityKb > 0 && c.freeKb <= capacityKb) {
    const double used = double(capacityKb - c.freeKb) / double(capacityKb) * 100.0;
    c.usedShare = used;
    c.usedPercent = std::clamp(static_cast<int>(std::lround(used)), 0, 100);
  }
  c.caption = QStringLiteral("Capacity : %1 MB").arg(capacityKb / 1024);
  return c;
}

bool ReadLoggerDirectory(Instrument& instrument, LoggerState& state, const DirectoryHooks& hooks) {
  MeterLink& link = instrument.link;
  instrument.PauseTimers();

  // Byte 1 of the status answer (the memory-card indication) does not stop the command.
  Query(instrument, cmd::kQueryLoggerStatus);
  // Without an answer now there is no directory to speak of, not even an empty one: an earlier
  // answer (a display image) is no directory. A silent meter is "not answering".
  if (!AnsweredOrSay(instrument)) {
    instrument.ResumeTimers();
    return false;
  }
  const std::uint32_t capacityKb = Le32At(link, 2);
  const std::uint32_t freeKb = Le32At(link, 6);
  state.CapacityKb = capacityKb;

  Query(instrument, cmd::kQuerySetCount);
  if (!AnsweredOrSay(instrument)) {
    instrument.ResumeTimers();
    return false;
  }
  instrument.LoggerSetCount = link.InputByte(1);
  const int count = instrument.LoggerSetCount;

  if (count == 0 || capacityKb == freeKb) {
    instrument.dialogs.message(loggertext::kNoData, kProgramTitle, MessageIcon::Critical);
    instrument.ResumeTimers();
    return false;
  }

  if (hooks.openMemory) hooks.openMemory(CapacityFor(capacityKb, freeKb, count));
  for (int i = 1; i <= count; ++i) {
    if (hooks.progress) hooks.progress(i * 100 / count);
    instrument.byteSlots.setCommand(cmd::kQuery, cmd::kQuerySetEntry);
    instrument.byteSlots.set(3, ToHexText(static_cast<unsigned>(i)));
    link.TransactReport();
    state.SetEntry(i, Le32At(link, 1), StartTextAt(link, 5));
    if (hooks.addSet) hooks.addSet(i, state.SetStartText(i));
  }
  instrument.ResumeTimers();
  return true;
}

bool ConfirmAndErase(Instrument& instrument, unsigned code,
                     const std::function<void()>& afterSend) {
  const DialogAnswer answer =
      instrument.dialogs.message(loggertext::kEraseWarning, loggertext::kWarningTitle,
                                 MessageIcon::Exclamation, MessageButtons::OkCancel);
  if (answer != DialogAnswer::Ok) return false;
  instrument.PauseTimers();
  // The command is written only to a meter that is there and not known to be silent; otherwise
  // it would be spent on finding the meter and lost without a word.
  MeterLink& link = instrument.link;
  if (!link.MeterConnected()) link.LocateMeter();
  if (!link.MeterConnected() || link.MeterPresence() == MeterLink::Presence::NotAnswering) {
    instrument.dialogs.message(NoAnswerMessage(link), kProgramTitle, MessageIcon::Information);
    instrument.ResumeTimers();
    return false;
  }
  instrument.byteSlots.setCommand(cmd::kAction, code);
  link.SendOutputReport();
  if (afterSend) afterSend();
  instrument.ResumeTimers();
  return true;
}

bool EraseLogger(Instrument& instrument, const std::function<void()>& closeMemory) {
  return ConfirmAndErase(instrument, cmd::kEraseLogger, closeMemory);
}

}  // namespace solardesk
