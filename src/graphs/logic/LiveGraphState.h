#pragma once

#include <QString>

namespace solardesk {

// Whether the live graph runs and the unit it was opened with. The recording tick does not
// use it; the graph compares the unit at each of its own ticks.
struct LiveGraphState {
  bool GraphOpen = false;
  QString GraphUnit;

  // The toolbar's "Graph": true when a window is to be shown now. An open graph is left alone;
  // otherwise the current unit (possibly empty) becomes the graph's unit.
  bool Open(const QString& readingUnit);
};

}  // namespace solardesk
