#pragma once

#include <QColor>
#include <array>

#include "graphs/logic/Overlay.h"

namespace solardesk::plotlook {

// One colour per series, the first as the single series always had.
inline const std::array<QColor, kMostSeries> kSeriesColors = {
    QColor(255, 80, 0),   QColor(0, 220, 90),    QColor(255, 230, 0), QColor(220, 60, 220),
    QColor(90, 160, 255), QColor(255, 255, 255), QColor(0, 230, 230), QColor(255, 140, 160)};

}  // namespace solardesk::plotlook
