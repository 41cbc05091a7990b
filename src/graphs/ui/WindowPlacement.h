#pragma once

class QWidget;

namespace solardesk {

// Secondary windows open with their left edge at the main window's right edge, top-aligned.
void PlaceBesideMain(QWidget& window, const QWidget* mainWindow);

}  // namespace solardesk
