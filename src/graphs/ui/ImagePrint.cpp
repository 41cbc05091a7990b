#include "ImagePrint.h"

#include <QPainter>
#include <QPrinter>

namespace solardesk {

bool PrintImage(const QImage& image, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  QSize size = image.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.drawImage(QRect(page.topLeft(), size), image);
  return painter.end();
}

}  // namespace solardesk
