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

// The cycle's fields hold a time of day: the message that refuses the first field outside its
// range ("The start hour must be a number from 0 to 23."), or nothing when every field fits.
std::optional<QString> CyclingRefusal(const CyclingTexts& fields);

}  // namespace solardesk
