#include "ListPrinting.h"

#include <QPainter>
#include <QPrinter>

#include "core/WriteGate.h"
#include "panel/logic/Instrument.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk {
namespace {

// Lines above the data on the first page and on the later ones, and below it on every page.
constexpr int kFirstHeadLines = 6;
constexpr int kLaterHeadLines = 2;
constexpr int kFootLines = 2;

const QString kRule = QString(47, QLatin1Char('-'));

// Lines on printer pages, top to bottom.
class PageLines {
 public:
  PageLines(QPrinter& printer, QPainter& painter)
      : painter_(painter), lineHeight_(painter.fontMetrics().lineSpacing()) {
    page_ = printer.pageLayout().paintRectPixels(printer.resolution());
    page_.moveTo(0, 0);
  }
  int LinesPerPage() const { return page_.height() / std::max(lineHeight_, 1); }
  void Print(const QString& line) {
    painter_.drawText(0, y_ + painter_.fontMetrics().ascent(), line);
    y_ += lineHeight_;
  }
  // The page's last line: the name on the left, the page number on the right.
  void Footer(const QString& name, const QString& number) {
    const int y = (LinesPerPage() - 1) * lineHeight_;
    painter_.drawText(0, y + painter_.fontMetrics().ascent(), name);
    painter_.drawText(QRect(0, y, page_.width(), lineHeight_), Qt::AlignRight | Qt::AlignTop,
                      number);
  }
  void NewPage() { y_ = 0; }

 private:
  QPainter& painter_;
  int lineHeight_;
  QRect page_;
  int y_ = 0;
};

}  // namespace

ListPages::ListPages(int linesPerPage)
    : firstRows(std::max(linesPerPage - kFirstHeadLines - kFootLines, 1)),
      laterRows(std::max(linesPerPage - kLaterHeadLines - kFootLines, 1)) {}

int ListPages::Pages(int count) const {
  if (count <= firstRows) return 1;
  return 1 + (count - firstRows + laterRows - 1) / laterRows;
}

QString PrintHeading(const QString& unit) {
  return kNumberHeading + kDateTimeHeading + UnitField(unit);
}

QString PageText(int page, int pages) {
  return QStringLiteral("Page %1 of %2").arg(page).arg(pages);
}

bool PaintListing(QPrinter& printer, const Listing& listing,
                  const std::function<bool(int)>& progress) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setFont(QFont(ListWindow::ListFont(8), &printer));
  PageLines lines(printer, painter);
  // The pages are counted before the first is printed, so that each says how many there are.
  const ListPages layout(lines.LinesPerPage());
  const int pages = layout.Pages(listing.count);
  bool printed = true;
  bool stopped = false;
  int row = 0;
  for (int page = 1; printed && !stopped && page <= pages; ++page) {
    if (page > 1) {
      if (!printer.newPage()) {
        printed = false;
        break;
      }
      lines.NewPage();
    } else {
      for (int i = 0; i < 3; ++i) lines.Print(QStringLiteral(" -"));
      lines.Print(QString());
    }
    lines.Print(PrintHeading(listing.unit));
    lines.Print(kRule);
    const int end =
        std::min(listing.count, row + (page == 1 ? layout.firstRows : layout.laterRows));
    for (; !stopped && row < end; ++row) {
      lines.Print(AlignedLine(listing.lineAt(row)));
      if (progress && !progress(row + 1)) stopped = true;
    }
    lines.Footer(listing.name, PageText(page, pages));
  }
  // A job cut short by its caller is not sent half printed.
  if (stopped) printer.abort();
  return painter.end() && printed && !stopped;
}

namespace {

bool PrintOn(Instrument& instrument, ListWindow& window, const Listing& listing,
             QPrinter& printer) {
  instrument.PauseTimers();
  const QString caption = window.Caption();
  bool printed = false;
  std::unique_ptr<FileWriter> pdf;
  if (ChoosePrinterFree(instrument.dialogs, printer, pdf)) {
    window.SetBusy(true);
    ProgressPacer pacer(window, instrument);
    printed = PaintListing(printer, listing, [&](int line) {
      return !pacer.Due() || pacer.Show(QStringLiteral("%1 Completed").arg(line));
    });
    window.SetBusy(false);
  }
  window.SetCaption(caption);
  instrument.ResumeTimers();
  return printed;
}

}  // namespace

bool PrintListing(Instrument& instrument, ListWindow& window, const Listing& listing) {
  QPrinter printer;
  return PrintOn(instrument, window, listing, printer);
}

bool PreviewListing(Instrument& instrument, ListWindow& window, const Listing& listing) {
  QPrinter printer;
  // Painting the pages is a long loop like printing: no poll or sample falls inside it.
  const bool print = instrument.dialogs.previewPrint(printer, [&](QPrinter& on) {
    instrument.PauseTimers();
    window.SetBusy(true);
    PaintListing(on, listing);
    window.SetBusy(false);
    instrument.ResumeTimers();
  });
  return print && PrintOn(instrument, window, listing, printer);
}

}  // namespace solardesk
