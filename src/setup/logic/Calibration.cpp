#include "Calibration.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace solardesk {

int DecodeCalibration(const Report& inputReport) {
  return ReportByte(inputReport, 2) + 256 * ReportByte(inputReport, 3);
}

CalibrationEntry ParseCalibrationEntry(const QString& text) {
  if (text.isEmpty()) return {CalibrationEntry::Kind::Cancel, 0};
  bool ok = false;
  const double v = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(v)) return {CalibrationEntry::Kind::NotANumber, 0};
  // Limit first so that huge entries cannot overflow; nearbyint rounds halves to even.
  const double rounded = std::nearbyint(std::clamp(v, -1.0, kMaxCalibration + 1.0));
  return {CalibrationEntry::Kind::Value,
          static_cast<int>(std::clamp(rounded, 0.0, double{kMaxCalibration}))};
}

std::array<std::uint8_t, 2> EncodeCalibration(int value) {
  const int v = std::clamp(value, 0, kMaxCalibration);
  return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
}

}  // namespace solardesk
