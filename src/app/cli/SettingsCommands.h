#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

// The meter's clock, logging interval, calibration and schedules: each read ("show") and
// written ("set") with the same exchanges as the clock window, the toolbar's "Interval" and
// the set-up panel.
int RunClockShow(CliContext& cli, const QStringList& args);
int RunClockSet(CliContext& cli, const QStringList& args);
int RunIntervalShow(CliContext& cli, const QStringList& args);
int RunIntervalSet(CliContext& cli, const QStringList& args);
int RunCalibrationShow(CliContext& cli, const QStringList& args);
int RunCalibrationSet(CliContext& cli, const QStringList& args);
int RunReservationShow(CliContext& cli, const QStringList& args);
int RunReservationSet(CliContext& cli, const QStringList& args);
int RunCyclingShow(CliContext& cli, const QStringList& args);
int RunCyclingSet(CliContext& cli, const QStringList& args);

}  // namespace solardesk::cli
