#include "SetupExchanges.h"

#include "MeterClock.h"
#include "link/Commands.h"
#include "link/HexText.h"
#include "panel/logic/MeterAnswer.h"

namespace solardesk {
namespace {

const Report& Query(Instrument& instrument, unsigned code) {
  instrument.byteSlots.setCommand(cmd::kQuery, code);
  instrument.link.TransactReport();
  return instrument.link.InputReport();
}

QString TwoHexDigits(std::uint8_t byte) {
  return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

int ReadCalibration(Instrument& instrument) {
  return DecodeCalibration(Query(instrument, cmd::kQuerySettings));
}

void WriteCalibration(Instrument& instrument, int value) {
  const auto bytes = EncodeCalibration(value);
  instrument.byteSlots.setCommand(cmd::kAction, cmd::kSetCalibration);
  // The value goes out as four hexadecimal digits: the last two in slot 3, the first two in 4.
  instrument.byteSlots.set(3, TwoHexDigits(bytes[0]));
  instrument.byteSlots.set(4, TwoHexDigits(bytes[1]));
  instrument.link.SendOutputReport();
}

ReservationTexts ReadReservation(Instrument& instrument) {
  return DecodeReservation(Query(instrument, cmd::kQueryReservation));
}

CyclingTexts ReadCycling(Instrument& instrument) {
  return DecodeCycling(Query(instrument, cmd::kQueryCycling));
}

void SendReport(Instrument& instrument, const Report& report) {
  const int count = std::min<int>(static_cast<int>(report.size()), OutputSlots::kCount);
  for (int i = 0; i < count; ++i) {
    instrument.byteSlots.set(i, ToHexText(report[static_cast<std::size_t>(i)]));
  }
  instrument.link.SendOutputReport();
}

QString ReadMeterClock(Instrument& instrument) {
  return FormatMeterClock(Query(instrument, cmd::kQueryClock));
}

void SetMeterClock(Instrument& instrument, const QDateTime& t) {
  const auto values = ClockSettingValues(t);
  instrument.byteSlots.setParameters(3, {values.begin(), values.end()});
  instrument.byteSlots.setCommand(cmd::kAction, cmd::kSetClock);
  instrument.link.SendOutputReport();
}

bool AskAndWriteCalibration(Instrument& instrument) {
  const QString current = QString::number(ReadCalibration(instrument));
  if (!AnsweredOrSay(instrument)) return false;
  for (;;) {
    const QString entry = instrument.dialogs.input(kCalibrationPrompt, kCalibrationTitle, current);
    const CalibrationEntry parsed = ParseCalibrationEntry(entry);
    switch (parsed.kind) {
      case CalibrationEntry::Kind::Cancel:
        return false;
      case CalibrationEntry::Kind::Value:
        WriteCalibration(instrument, parsed.value);
        return true;
      case CalibrationEntry::Kind::NotANumber:
        instrument.dialogs.message(kCalibrationNotANumber, kProgramTitle, MessageIcon::Exclamation);
        break;
    }
  }
}

}  // namespace solardesk
