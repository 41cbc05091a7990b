#include "Clock.h"

namespace solardesk {

float Clock::secondsSinceMidnight() const {
  const QTime t = now().time();
  return static_cast<float>(t.msecsSinceStartOfDay()) / 1000.0f;
}

}  // namespace solardesk
