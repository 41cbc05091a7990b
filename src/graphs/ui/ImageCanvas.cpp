#include "ImageCanvas.h"

#include <QFontMetricsF>

namespace solardesk {

ImageCanvas::ImageCanvas(QImage& image, const QFont& font) : image_(image), painter_(&image) {
  painter_.setFont(font);
}

QColor ImageCanvas::ColorOf(Ink ink) {
  switch (ink) {
    case Ink::White:
      return {255, 255, 255};
    case Ink::Grey:
      return {192, 192, 192};
    case Ink::Blue:
      return {0, 0, 255};
    case Ink::Black:
      break;
  }
  return {0, 0, 0};
}

void ImageCanvas::clear() {
  painter_.fillRect(image_.rect(), ColorOf(Ink::White));
}

void ImageCanvas::line(QPointF from, QPointF to, Ink ink, int width, Stroke stroke) {
  QPen pen(ColorOf(ink), width, stroke == Stroke::Dotted ? Qt::DotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  painter_.setPen(pen);
  painter_.drawLine(from, to);
}

void ImageCanvas::fill(const QRectF& rect, Ink ink) {
  painter_.fillRect(rect, ColorOf(ink));
}

void ImageCanvas::text(QPointF topLeft, const QString& text, Ink ink) {
  painter_.setPen(ColorOf(ink));
  const QFontMetricsF metrics(painter_.font());
  painter_.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

double ImageCanvas::textWidth(const QString& text) const {
  return QFontMetricsF(painter_.font()).horizontalAdvance(text);
}

double ImageCanvas::textHeight() const {
  return QFontMetricsF(painter_.font()).height();
}

}  // namespace solardesk
