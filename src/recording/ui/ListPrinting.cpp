#include "ListPrinting.h"

#include <QPainter>
#include <QPrinter>

#include "core/WriteGate.h"
#include "panel/logic/Instrument.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk {
namespace {

// Lines on printer pages, top to bottom, a new page when one is full.
class LinePrinter {
 public:
  LinePrinter(QPrinter& printer, QPainter& painter)
      : printer_(printer), painter_(painter), lineHeight_(painter.fontMetrics().lineSpacing()) {
    page_ = printer.pageLayout().paintRectPixels(printer.resolution());
    page_.moveTo(0, 0);
  }
  bool Print(const QString& line) {
    if (y_ + lineHeight_ > page_.height()) {
      if (!printer_.newPage()) return false;
      y_ = 0;
    }
    painter_.drawText(0, y_ + painter_.fontMetrics().ascent(), line);
    y_ += lineHeight_;
    return true;
  }

 private:
  QPrinter& printer_;
  QPainter& painter_;
  int lineHeight_;
  QRect page_;
  int y_ = 0;
};

}  // namespace

QString PrintHeading(const QString& unit) {
  return kNumberHeading + kDateTimeHeading + UnitField(unit);
}

bool PrintListing(Instrument& instrument, ListWindow& window, const QString& unit, int count,
                  const std::function<QString(int)>& lineAt) {
  instrument.PauseTimers();
  const QString caption = window.Caption();
  QPrinter printer;
  bool printed = false;
  std::unique_ptr<FileWriter> pdf;
  if (ChoosePrinterFree(instrument.dialogs, printer, pdf)) {
    window.SetBusy(true);
    QPainter painter;
    if (painter.begin(&printer)) {
      painter.setFont(QFont(ListWindow::ListFont(8), &printer));
      LinePrinter lines(printer, painter);
      printed = lines.Print(QStringLiteral(" -")) && lines.Print(QStringLiteral(" -")) &&
                lines.Print(QStringLiteral(" -")) && lines.Print(QString()) &&
                lines.Print(PrintHeading(unit)) && lines.Print(QString(47, QLatin1Char('-')));
      ProgressPacer pacer(window, instrument);
      for (int i = 0; printed && i < count; ++i) {
        printed = lines.Print(AlignedLine(lineAt(i)));
        if (pacer.Due() && !pacer.Show(QStringLiteral("%1 Completed").arg(i + 1))) printed = false;
      }
      // A job cut short by the end of the program is not sent half printed.
      if (pacer.Stopped()) printer.abort();
      printed = painter.end() && printed;
    }
    window.SetBusy(false);
  }
  window.SetCaption(caption);
  instrument.ResumeTimers();
  return printed;
}

}  // namespace solardesk
