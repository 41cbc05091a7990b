#include "IntervalEntry.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace solardesk {

std::optional<int> IntervalFromEntry(const QString& entry, int maxSeconds) {
  bool ok = false;
  const double value = QLocale::c().toDouble(entry.trimmed(), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  // nearbyint rounds halves to even in the default rounding mode.
  const double whole = std::nearbyint(std::clamp(value, 1.0, static_cast<double>(maxSeconds)));
  return std::clamp(static_cast<int>(whole), 1, maxSeconds);
}

}  // namespace solardesk
