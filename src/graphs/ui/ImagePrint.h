#pragma once

#include <QImage>

class QPrinter;

namespace solardesk {

class Dialogs;

// Prints an image on one page, scaled to fit the page and keeping its proportions. False when
// the printer could not be started (for example an output file that cannot be written).
bool PrintImage(const QImage& image, QPrinter& printer);

// A print preview of the image's page through `dialogs`; when the user asks to print it from
// there, the printer dialog follows and the page is printed (a PDF through the write gate).
void PreviewThenPrintImage(Dialogs& dialogs, const QImage& image);

}  // namespace solardesk
