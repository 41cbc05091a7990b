#pragma once

#include "core/Dialogs.h"

namespace solardesk {

// The program's dialog service with one addition: the next open-file dialog may be answered
// beforehand, without asking, so that a file chosen elsewhere (the recent files, a drop) opens
// exactly as one chosen in "Open" does. Everything else goes to the service, over the window
// that owns the command.
class PresetDialogs final : public Dialogs {
 public:
  explicit PresetDialogs(Dialogs& service) : service_(service) {}

  // The next open-file dialog gives `path` without showing; the empty text takes it back.
  void AnswerNextOpen(const QString& path) { preset_ = path; }
  // The file the last open-file dialog gave (the empty text for Cancel).
  const QString& LastOpened() const { return lastOpened_; }

  DialogAnswer message(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons = MessageButtons::Ok) override {
    const DialogOwner owner(service_, Owner());
    return service_.message(text, title, icon, buttons);
  }
  QString input(const QString& prompt, const QString& title, const QString& defaultText) override {
    const DialogOwner owner(service_, Owner());
    return service_.input(prompt, title, defaultText);
  }
  std::optional<int> choose(const QString& prompt, const QString& title, const QStringList& items,
                            int current) override {
    const DialogOwner owner(service_, Owner());
    return service_.choose(prompt, title, items, current);
  }
  QString saveFileName(const QString& filter, const QString& folder) override {
    const DialogOwner owner(service_, Owner());
    return service_.saveFileName(filter, folder);
  }
  QString openFileName(const QString& filter, const QString& folder) override {
    if (!preset_.isEmpty()) {
      lastOpened_ = preset_;
      preset_.clear();
      return lastOpened_;
    }
    const DialogOwner owner(service_, Owner());
    lastOpened_ = service_.openFileName(filter, folder);
    return lastOpened_;
  }
  QString folderName(const QString& title, const QString& folder) override {
    const DialogOwner owner(service_, Owner());
    return service_.folderName(title, folder);
  }
  bool choosePrinter(QPrinter& printer) override {
    const DialogOwner owner(service_, Owner());
    return service_.choosePrinter(printer);
  }
  bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override {
    const DialogOwner owner(service_, Owner());
    return service_.previewPrint(printer, paint);
  }

 private:
  QObject* Owner() const { return owner() ? owner() : service_.owner(); }

  Dialogs& service_;
  QString preset_;
  QString lastOpened_;
};

}  // namespace solardesk
