#pragma once

#include <QString>
#include <functional>

#include "ListWindow.h"

namespace solardesk {

class Instrument;

// Prints a list of data lines after the printer dialog: three lines " -", an empty line, the
// heading with the unit field, 47 dashes, then every line in the heading's columns
// (AlignedLine), in "Lucida Console" 8 point. The window's caption counts "3 Completed" while both
// main-window timers are suspended; caption, pointer and timers are restored afterwards, also when
// printing fails. False when the dialog was cancelled or printing failed.
bool PrintListing(Instrument& instrument, ListWindow& window, const QString& unit, int count,
                  const std::function<QString(int)>& lineAt);

// The heading line of a printed list: "      No.s            Date Time" and the unit
// right-aligned in 15 characters.
QString PrintHeading(const QString& unit);

}  // namespace solardesk
