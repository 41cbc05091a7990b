#include "RecordingHealth.h"

namespace solardesk {

QString NotSavedToolTip(const RecordingHealth& health) {
  return QStringLiteral("The data file cannot be written: %1.\n%2 sample(s) not saved.")
      .arg(health.cause)
      .arg(health.unwritten);
}

QString PausedToolTip(const RecordingHealth& health) {
  return QStringLiteral(
             "No samples are taken while the meter's timers are held off.\n"
             "%1 sample(s) missed.")
      .arg(health.missedWhilePaused);
}

}  // namespace solardesk
