#pragma once

#include <QImage>

class QPrinter;

namespace solardesk {

// Prints an image on one page, scaled to fit the page and keeping its proportions. False when
// the printer could not be started (for example an output file that cannot be written).
bool PrintImage(const QImage& image, QPrinter& printer);

}  // namespace solardesk
