#pragma once

#include <QString>
#include <array>
#include <optional>

#include "FieldText.h"

namespace solardesk {

// The reservation: start year, month, date, hour, minute, second, then the same for the stop.
inline constexpr int kReservationFields = 12;
// The daily cycle: start hour, minute, second, then the same for the stop.
inline constexpr int kCyclingFields = 6;

using ReservationTexts = std::array<QString, kReservationFields>;
using CyclingTexts = std::array<QString, kCyclingFields>;

// How many days the date list offers for a month and a two-digit year text, or nothing for a
// month text other than "01" to "12". The year "00" counts as a common year.
std::optional<int> DaysInMonth(const QString& month, const QString& year);

// The texts the reservation fields show before the meter was ever heard: "00", with "01" for
// month and date.
ReservationTexts ReservationDefaults();

// The reservation answer, bytes 1 to 12, as field texts. A report that holds nothing at all
// (no answer since start-up) gives the defaults.
ReservationTexts DecodeReservation(const Report& inputReport);

// The daily cycle answer, bytes 1 to 6, as field texts.
CyclingTexts DecodeCycling(const Report& inputReport);

// The output reports that write a schedule: 0x00, 0x01, the command code, then each field's
// value in one byte. A field whose value does not fit in a byte (below 0, above 255) gives
// nothing, and nothing may be written.
std::optional<Report> EncodeReservation(const ReservationTexts& fields);
std::optional<Report> EncodeCycling(const CyclingTexts& fields);

// Which schedule a field belongs to.
enum class Schedule { Reservation, Cycling };

// Whether `value` lies in the range of field `index` of a schedule: year 0..99, month 1..12,
// date 1..31, hour 0..23, minute and second 0..59. Whether a date exists in its month is not
// asked. An index past the schedule's fields fits nothing.
bool FieldFits(Schedule schedule, std::size_t index, qint64 value);

// The message that refuses field `index`: "The start month must be a number from 1 to 12."
QString FieldRangeMessage(Schedule schedule, std::size_t index);

// The message that refuses the first field whose value (read as FieldValue reads it) lies
// outside its range, or nothing when every field fits. Checked before anything is written.
std::optional<QString> ReservationRefusal(const ReservationTexts& fields);
std::optional<QString> CyclingRefusal(const CyclingTexts& fields);

}  // namespace solardesk
