#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>

#include "graphs/logic/SweepCanvas.h"

namespace solardesk {

// The sweep graph drawing on the image its window keeps. The painter is open for the life of
// the canvas, so one layout or one tick is one painting session.
class ImageCanvas final : public SweepCanvas {
 public:
  ImageCanvas(QImage& image, const QFont& font);

  void clear() override;
  void line(QPointF from, QPointF to, Ink ink, int width, Stroke stroke) override;
  void fill(const QRectF& rect, Ink ink) override;
  void text(QPointF topLeft, const QString& text, Ink ink) override;
  double textWidth(const QString& text) const override;
  double textHeight() const override;

  static QColor ColorOf(Ink ink);

 private:
  QImage& image_;
  QPainter painter_;
};

}  // namespace solardesk
