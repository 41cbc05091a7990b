#include "ChangingReports.h"

#include "link/Commands.h"

namespace solardesk {

std::optional<QString> MeterChangeOf(const std::vector<std::uint8_t>& report) {
  if (report.size() < 3 || report[1] != cmd::kAction) return std::nullopt;
  switch (report[2]) {
    case cmd::kSetInterval:
      return QStringLiteral("set the logging interval");
    case cmd::kEraseLogger:
    case cmd::kEraseLoggerAlt:
      return QStringLiteral("erase the logger");
    case cmd::kSetClock:
      return QStringLiteral("set the clock");
    case cmd::kSetCalibration:
      return QStringLiteral("set the calibration");
    case cmd::kSetCycling:
      return QStringLiteral("set the daily cycle");
    case cmd::kSetReservation:
      return QStringLiteral("set the reservation");
    default:
      return std::nullopt;
  }
}

QString MeterChangeQuestion(const QString& change) {
  return QStringLiteral("This report changes the meter: %1. Send it?").arg(change);
}

}  // namespace solardesk
