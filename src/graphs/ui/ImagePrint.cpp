#include "ImagePrint.h"

#include <QPainter>
#include <QPrinter>
#include <memory>

#include "core/Dialogs.h"
#include "core/WriteGate.h"

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

void PreviewThenPrintImage(Dialogs& dialogs, const QImage& image) {
  QPrinter printer(QPrinter::HighResolution);
  if (!dialogs.previewPrint(printer, [&image](QPrinter& on) { PrintImage(image, on); })) return;
  std::unique_ptr<FileWriter> pdf;
  if (ChoosePrinterFree(dialogs, printer, pdf)) PrintImage(image, printer);
}

}  // namespace solardesk
