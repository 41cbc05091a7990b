#pragma once

#include <QFont>
#include <QToolBar>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "core/Dialogs.h"

#include "recording/logic/LongLoop.h"

namespace solardesk {

// What the list windows share: a toolbar whose button keys select the commands, the caption as
// progress text of their long loops, and an unload handler. Closing the window hides it and
// runs the unload; its owner deletes it when no loop is using it any more.
class ListWindow : public QWidget, public LongLoop {
  Q_OBJECT
 public:
  ListWindow(const QString& objectName, const QString& caption, QWidget* parent);

  QToolBar* Toolbar1 = nullptr;
  // Adds a toolbar button; a click runs the command set for its key.
  QAction* addToolbarButton(const QString& key, const QString& toolTip);
  void setToolbarCommand(const QString& key, std::function<void()> command);
  // Clicks a toolbar button by its key, as a person would.
  void clickToolbar(const QString& key);
  // The toolbar button of `key`; null where the window has none.
  QAction* toolbarAction(const QString& key) const;

  std::function<void()> onUnload;

  // The window's own dialogs over the program's service: what its commands ask opens over it.
  void SetDialogs(Dialogs& service) { dialogs_ = std::make_unique<WindowDialogs>(service, this); }
  Dialogs& dialogs() { return *dialogs_; }

  // Left edge at the main window's right edge, top at `top` (the main window's top by default).
  void PlaceBeside(const QWidget& mainWindow);
  void PlaceBeside(const QWidget& mainWindow, int top);

  QString Caption() const override { return windowTitle(); }
  void SetCaption(const QString& text) override { setWindowTitle(text); }
  void SetBusy(bool busy) override;
  void LetEventsRun() override;

  // "Lucida Console" where present, another fixed-width font otherwise.
  static QFont ListFont(int pointSize = 9);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  std::map<QString, std::function<void()>> commands_;
  bool unloaded_ = false;
  std::unique_ptr<WindowDialogs> dialogs_;
};

}  // namespace solardesk
