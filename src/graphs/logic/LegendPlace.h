#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <Qt>
#include <vector>

namespace solardesk {

// The rectangle of `size` in a corner of `area` inset by `margin` (Qt::AlignTop or
// Qt::AlignBottom with Qt::AlignLeft or Qt::AlignRight).
QRectF CornerBox(const QRectF& area, const QSizeF& size, double margin, Qt::Alignment corner);

// Where a legend of `size` goes in a plot area: the corner of `area` (inset by `margin`) whose
// rectangle is crossed by the fewest drawn lines. Each curve is its points in pixels, in drawing
// order, joined by straight lines; a line is looked at every few pixels along its length, so a
// curve of few points far apart counts where it runs as well. On a tie the corners are taken in
// the order top right, top left, bottom right, bottom left. `crossings` gets how many looks at
// the lines fall into the chosen corner's rectangle (0: none).
Qt::Alignment EmptiestCorner(const QRectF& area, const QSizeF& size, double margin,
                             const std::vector<std::vector<QPointF>>& curves, long* crossings);

}  // namespace solardesk
