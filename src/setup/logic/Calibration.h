#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "FieldText.h"

namespace solardesk {

inline constexpr int kMaxCalibration = 9999;

// The calibration the meter reports in its settings answer: byte 2 low, byte 3 high.
int DecodeCalibration(const Report& inputReport);

// What the user typed into the calibration box.
struct CalibrationEntry {
  enum class Kind { Cancel, Value, NotANumber };
  Kind kind = Kind::Cancel;
  int value = 0;  // for Value: 0 to 9999
};

// The empty text cancels. A number is rounded to the nearest whole number (halves to the even
// one) and limited to 0..9999. Anything else is not a number.
CalibrationEntry ParseCalibrationEntry(const QString& text);

// The two parameter bytes of the calibration write: low byte, then high byte of the value
// limited to 0..9999.
std::array<std::uint8_t, 2> EncodeCalibration(int value);

}  // namespace solardesk
