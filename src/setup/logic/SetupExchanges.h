#pragma once

#include <QDateTime>
#include <QString>

#include "Calibration.h"
#include "Schedules.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

// The exchanges that read and write the meter's set-up values and clock. They set only the byte
// slots their command needs and leave the main window's timers alone: each caller pauses and
// resumes them as its own handler requires. A read the meter does not answer works on the last
// input report received.

// The settings query; the calibration value from its answer.
int ReadCalibration(Instrument& instrument);
// Writes a calibration value (limited to 0..9999).
void WriteCalibration(Instrument& instrument, int value);

ReservationTexts ReadReservation(Instrument& instrument);
CyclingTexts ReadCycling(Instrument& instrument);

// Puts a whole output report (report ID, class, code, parameters) into the byte slots as
// hexadecimal texts and writes it without waiting for an answer.
void SendReport(Instrument& instrument, const Report& report);

// The clock query; the meter clock as "yy/mm/dd hh:mm:ss".
QString ReadMeterClock(Instrument& instrument);
// Sets the meter clock to the given local time.
void SetMeterClock(Instrument& instrument, const QDateTime& t);

// The calibration exchange with the user: reads the value, asks for a new one in the input box
// (asking again after a message when the entry is not a number) and writes it. Returns false
// when the user cancelled or the meter did not answer the read (which it says); then nothing
// was written.
bool AskAndWriteCalibration(Instrument& instrument);

inline const QString kCalibrationTitle = QStringLiteral("Input Calibration");
inline const QString kCalibrationPrompt =
    QStringLiteral("Enter the calibrating Data\r\n(0 <= t <= 9999 ) ");
inline const QString kCalibrationNotANumber =
    QStringLiteral("Please enter a number from 0 to 9999.");

}  // namespace solardesk
