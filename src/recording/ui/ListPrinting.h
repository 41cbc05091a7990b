#pragma once

#include <QString>
#include <functional>

#include "ListWindow.h"

class QPrinter;

namespace solardesk {

class Instrument;

// What a printed list holds: the name its pages carry (the file's name), the unit of its
// heading and its data lines.
struct Listing {
  QString name;
  QString unit;
  int count = 0;
  std::function<QString(int)> lineAt;
};

// How the lines of a list fall on pages of `linesPerPage` lines. The first page starts with
// three lines " -", an empty line, the heading with the unit field and 47 dashes; each later
// page starts with the heading and the dashes again. Every page ends with an empty line and
// the footer (the list's name and "Page 2 of 12").
struct ListPages {
  explicit ListPages(int linesPerPage);
  int firstRows;  // data lines on the first page
  int laterRows;  // data lines on each later page
  // The number of pages for `count` data lines; at least one.
  int Pages(int count) const;
};

// Paints the whole list onto `printer` in "Lucida Console" 8 point, each data line in the
// heading's columns (AlignedLine). `progress` is told of each line printed (from 1); false from
// it ends the painting there and the job is aborted. False when the printer cannot be started, a
// new page cannot be begun or the progress ended it. Printing and its preview both paint with this.
bool PaintListing(QPrinter& printer, const Listing& listing,
                  const std::function<bool(int)>& progress = {});

// Prints a list after the printer dialog. The window's caption counts "3 Completed" while both
// main-window timers are suspended; caption, pointer and timers are restored afterwards, also when
// printing fails. False when the dialog was cancelled or printing failed.
bool PrintListing(Instrument& instrument, ListWindow& window, const Listing& listing);

// The print preview of a list, over the list window; its "Print" prints as PrintListing does,
// on the printer set up in the preview.
bool PreviewListing(Instrument& instrument, ListWindow& window, const Listing& listing);

// The heading line of a printed list: "      No.s            Date Time" and the unit
// right-aligned in 15 characters.
QString PrintHeading(const QString& unit);

// The footer of a printed page: "Page 2 of 12".
QString PageText(int page, int pages);

}  // namespace solardesk
