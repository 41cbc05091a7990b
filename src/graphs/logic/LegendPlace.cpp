#include "LegendPlace.h"

#include <QLineF>
#include <array>
#include <cmath>

namespace solardesk {
namespace {

// How far apart the looks along a line are, in pixels.
constexpr double kStepPixels = 3;

// How many looks along the curve fall into `box`.
long Covered(const QRectF& box, const std::vector<QPointF>& curve) {
  long n = 0;
  for (std::size_t i = 0; i < curve.size(); ++i) {
    if (box.contains(curve[i])) ++n;
    if (i + 1 == curve.size()) break;
    const QLineF line(curve[i], curve[i + 1]);
    // Lines that stay on one side of the box cannot cross it.
    if (std::max(line.x1(), line.x2()) < box.left() ||
        std::min(line.x1(), line.x2()) > box.right() ||
        std::max(line.y1(), line.y2()) < box.top() || std::min(line.y1(), line.y2()) > box.bottom())
      continue;
    const int steps = static_cast<int>(std::ceil(line.length() / kStepPixels));
    for (int s = 1; s < steps; ++s)
      if (box.contains(line.pointAt(static_cast<double>(s) / steps))) ++n;
  }
  return n;
}

}  // namespace

QRectF CornerBox(const QRectF& area, const QSizeF& size, double margin, Qt::Alignment corner) {
  const QRectF inner = area.adjusted(margin, margin, -margin, -margin);
  const double x = corner & Qt::AlignLeft ? inner.left() : inner.right() - size.width();
  const double y = corner & Qt::AlignTop ? inner.top() : inner.bottom() - size.height();
  return {QPointF(x, y), size};
}

Qt::Alignment EmptiestCorner(const QRectF& area, const QSizeF& size, double margin,
                             const std::vector<std::vector<QPointF>>& curves, long* crossings) {
  const std::array<Qt::Alignment, 4> corners = {
      Qt::AlignTop | Qt::AlignRight, Qt::AlignTop | Qt::AlignLeft, Qt::AlignBottom | Qt::AlignRight,
      Qt::AlignBottom | Qt::AlignLeft};
  Qt::Alignment best = corners[0];
  long fewest = -1;
  for (const Qt::Alignment corner : corners) {
    const QRectF box = CornerBox(area, size, margin, corner);
    long n = 0;
    for (const std::vector<QPointF>& curve : curves) n += Covered(box, curve);
    if (fewest < 0 || n < fewest) {
      fewest = n;
      best = corner;
    }
  }
  if (crossings) *crossings = fewest;
  return best;
}

}  // namespace solardesk
