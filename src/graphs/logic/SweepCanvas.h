#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

namespace solardesk {

// The colours of the live graph: white background, light grey grid, blue data line and black
// axes and labels.
enum class Ink { White, Grey, Blue, Black };
enum class Stroke { Solid, Dotted };

// What the sweep graph draws on, in pixels with the origin at the top left. The window draws on
// the image it keeps; tests record the calls.
class SweepCanvas {
 public:
  virtual ~SweepCanvas() = default;
  virtual void clear() = 0;  // the whole picture white
  virtual void line(QPointF from, QPointF to, Ink ink, int width, Stroke stroke) = 0;
  virtual void fill(const QRectF& rect, Ink ink) = 0;
  virtual void text(QPointF topLeft, const QString& text, Ink ink) = 0;
  virtual double textWidth(const QString& text) const = 0;
  virtual double textHeight() const = 0;
};

}  // namespace solardesk
