#include "LiveGraphState.h"

namespace solardesk {

bool LiveGraphState::Open(const QString& readingUnit) {
  if (GraphOpen) return false;
  GraphUnit = readingUnit;
  GraphOpen = true;
  return true;
}

}  // namespace solardesk
