#include "WindowPlacement.h"

#include <QWidget>

namespace solardesk {

void PlaceBesideMain(QWidget& window, const QWidget* mainWindow) {
  if (mainWindow == nullptr) return;
  const QRect main = mainWindow->frameGeometry();
  window.move(main.x() + main.width(), main.y());
}

}  // namespace solardesk
