#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;

namespace solardesk {

enum class MessageIcon { Critical, Exclamation, Information, Question };
enum class MessageButtons { Ok, OkCancel };
enum class DialogAnswer { Ok, Cancel };

// Every modal dialog of the program goes through this interface: the windows get the Qt one,
// tests get a scripted one that answers without a person.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A message box. Returns Ok for the OK button, Cancel for anything else.
  virtual DialogAnswer message(const QString& text, const QString& title, MessageIcon icon,
                               MessageButtons buttons = MessageButtons::Ok) = 0;

  // An input box with a prompt, a title and a default text. Cancel and an emptied field both
  // give the empty text, as users of such boxes expect.
  virtual QString input(const QString& prompt, const QString& title,
                        const QString& defaultText) = 0;

  // A choice from a list with a prompt and a title, `current` chosen when it opens; the items
  // cannot be edited. Gives the index of the item chosen, nothing for Cancel.
  virtual std::optional<int> choose(const QString& prompt, const QString& title,
                                    const QStringList& items, int current) = 0;

  // A save-as dialog with the given filter (pairs "Description|pattern|..." as data files use);
  // it asks before an existing file is replaced. The empty text means Cancel.
  virtual QString saveFileName(const QString& filter, const QString& folder) = 0;

  // An open-file dialog with the given filter. The empty text means Cancel.
  virtual QString openFileName(const QString& filter, const QString& folder) = 0;

  // The printer dialog for a printer about to be used. False means Cancel.
  virtual bool choosePrinter(QPrinter& printer) = 0;

  // A print preview of what `paint` puts on `printer` (it may be asked to paint more than once,
  // for instance after a change of the page set-up). True when the user asks to print it: the
  // caller then prints through choosePrinter, so that the preview itself writes nothing.
  virtual bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;

  // A folder chooser with a title, starting in `folder`. The empty text means Cancel. Every
  // service says what it does (no default), so that a service passing dialogs on cannot drop it.
  virtual QString folderName(const QString& title, const QString& folder) = 0;

  // The window the dialogs open over and belong to: the one whose command raised them (see
  // DialogOwner). Null outside any command, or once that window is gone: the main window then.
  QObject* owner() const { return owner_.data(); }

 private:
  friend class DialogOwner;
  QPointer<QObject> owner_;
};

// While it lives, the dialogs raised through `dialogs` open over `window`. Each window's command
// handlers start with one, so a message, an input box, a file or a printer dialog shows over
// the window the user is in, also when the command runs while another window's long loop lets
// events run. The owner before it comes back when it ends.
class DialogOwner {
 public:
  DialogOwner(Dialogs& dialogs, QObject* window) : dialogs_(dialogs), kept_(dialogs.owner_) {
    dialogs_.owner_ = window;
  }
  ~DialogOwner() { dialogs_.owner_ = kept_; }
  DialogOwner(const DialogOwner&) = delete;
  DialogOwner& operator=(const DialogOwner&) = delete;

 private:
  Dialogs& dialogs_;
  QPointer<QObject> kept_;
};

// The dialogs of one window: each dialog asked through it opens over `window`, whichever command
// or loop asks, and the service's owner before it comes back afterwards. Every window keeps one
// over the program's dialog service and asks its dialogs through it.
class WindowDialogs final : public Dialogs {
 public:
  WindowDialogs(Dialogs& service, QObject* window) : service_(service), window_(window) {}

  DialogAnswer message(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons = MessageButtons::Ok) override {
    const DialogOwner owner(service_, window_);
    return service_.message(text, title, icon, buttons);
  }
  QString input(const QString& prompt, const QString& title, const QString& defaultText) override {
    const DialogOwner owner(service_, window_);
    return service_.input(prompt, title, defaultText);
  }
  std::optional<int> choose(const QString& prompt, const QString& title, const QStringList& items,
                            int current) override {
    const DialogOwner owner(service_, window_);
    return service_.choose(prompt, title, items, current);
  }
  QString saveFileName(const QString& filter, const QString& folder) override {
    const DialogOwner owner(service_, window_);
    return service_.saveFileName(filter, folder);
  }
  QString openFileName(const QString& filter, const QString& folder) override {
    const DialogOwner owner(service_, window_);
    return service_.openFileName(filter, folder);
  }
  bool choosePrinter(QPrinter& printer) override {
    const DialogOwner owner(service_, window_);
    return service_.choosePrinter(printer);
  }
  QString folderName(const QString& title, const QString& folder) override {
    const DialogOwner owner(service_, window_);
    return service_.folderName(title, folder);
  }
  bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override {
    const DialogOwner owner(service_, window_);
    return service_.previewPrint(printer, paint);
  }

  // The program's service, for logic that asks it while this window owns the command.
  Dialogs& service() { return service_; }
  QObject* window() const { return window_; }

 private:
  Dialogs& service_;
  QObject* window_;
};

// The program's title in message boxes that have no title of their own.
inline const QString kProgramTitle = QStringLiteral("SolarDesk");

}  // namespace solardesk
