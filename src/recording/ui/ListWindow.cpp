#include "ListWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>

#include "panel/ui/ToolbarIcons.h"
#include "panel/ui/WindowPlacement.h"

namespace solardesk {

ListWindow::ListWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName(objectName);
  setWindowTitle(caption);
  Toolbar1 = new QToolBar(this);
  Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
  Toolbar1->setIconSize(QSize(24, 24));
}

QAction* ListWindow::addToolbarButton(const QString& key, const QString& toolTip) {
  QAction* a = Toolbar1->addAction(ToolbarIcon(key), key);
  a->setObjectName(key);
  a->setToolTip(toolTip);
  connect(a, &QAction::triggered, this, [this, key] { clickToolbar(key); });
  return a;
}

void ListWindow::setToolbarCommand(const QString& key, std::function<void()> command) {
  commands_[key] = std::move(command);
}

void ListWindow::clickToolbar(const QString& key) {
  const auto it = commands_.find(key);
  if (it != commands_.end() && it->second) it->second();
}

QAction* ListWindow::toolbarAction(const QString& key) const {
  for (QAction* a : Toolbar1->actions())
    if (a->objectName() == key) return a;
  return nullptr;
}

void ListWindow::PlaceBeside(const QWidget& mainWindow) {
  PlaceWindow(*this, BesideMain(mainWindow), &mainWindow);
}

void ListWindow::PlaceBeside(const QWidget& mainWindow, int top) {
  PlaceWindow(*this, BesideMain(mainWindow, top), &mainWindow);
}

void ListWindow::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void ListWindow::LetEventsRun() {
  QCoreApplication::processEvents();
}

QFont ListWindow::ListFont(int pointSize) {
  QFont font(QStringLiteral("Lucida Console"), pointSize);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  return font;
}

void ListWindow::closeEvent(QCloseEvent* e) {
  e->accept();
  if (unloaded_) return;
  unloaded_ = true;
  if (onUnload) onUnload();
}

}  // namespace solardesk
