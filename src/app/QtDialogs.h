#pragma once

#include <QWidget>

#include "core/Dialogs.h"

namespace solardesk {

// The dialogs a person answers: Qt's message, input, choice, file, printer and print preview
// dialogs.
class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  DialogAnswer message(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;
  QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
  std::optional<int> choose(const QString& prompt, const QString& title, const QStringList& items,
                            int current) override;
  QString saveFileName(const QString& filter, const QString& folder) override;
  QString folderName(const QString& title, const QString& folder) override;
  QString openFileName(const QString& filter, const QString& folder) override;
  bool choosePrinter(QPrinter& printer) override;
  bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

  // "Data Files (*.pvd)|*.pvd|All Files (*.*)|*.*|" in Qt's form: "Data Files (*.pvd);;...".
  static QString ToQtFilter(const QString& filter);
  // The extension a save dialog adds to a name typed without one while `qtFilter` (one entry
  // of Qt's form) is chosen: "pvd" for "Data Files (*.pvd)", none for "All Files (*.*)".
  static QString DefaultSuffixOf(const QString& qtFilter);
  // The width a dialog needs for its whole title in the title bar, beside the window buttons.
  static int TitleBarWidth(const QString& title);

 private:
  // The window a dialog opens over: the owner of the command when it is shown and enabled,
  // else the main window.
  QWidget* Parent() const;

  QWidget* parent_;
};

}  // namespace solardesk
