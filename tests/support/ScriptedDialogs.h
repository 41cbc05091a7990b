#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "core/Dialogs.h"

namespace solardesk::testing {

// Dialogs answered by the test: each kind of dialog takes its answers from a queue (in order),
// and every dialog shown is recorded. A dialog with no answer queued gives Cancel / empty, but
// a choice from a list with none queued fails the test: Cancel there is queued as nothing.
class ScriptedDialogs final : public Dialogs {
 public:
  struct Shown {
    QString kind;  // "message", "input", "choose", "save", "open", "printer", "preview", "folder"
    QString text;  // message text, input or choice prompt
    QString title;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    QString defaultText;
    QString filter;
    const QObject* owner = nullptr;  // the window it opened over; null for the main window
    QStringList items;               // a choice's items, `current` chosen when it opened
    int current = -1;
  };

  std::deque<DialogAnswer> messageAnswers;
  std::deque<QString> inputAnswers;
  std::deque<std::optional<int>> chooseAnswers;  // the index chosen, nothing for Cancel
  std::deque<QString> saveAnswers;
  std::deque<QString> openAnswers;
  std::deque<QString> folderAnswers;
  std::deque<bool> printerAnswers;
  QString printToPdf;              // when set, an accepted printer dialog prints to this PDF file
  std::deque<QString> pdfAnswers;  // the same, one per accepted dialog, before printToPdf
  // A print preview paints once into this PDF file (into a file of its own when empty), as the
  // preview would show it; the answer says whether the user then asks to print.
  QString previewPdf;
  std::deque<bool> previewAnswers;

  std::vector<Shown> shown;

  DialogAnswer message(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;
  QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
  std::optional<int> choose(const QString& prompt, const QString& title, const QStringList& items,
                            int current) override;
  QString saveFileName(const QString& filter, const QString& folder) override;
  QString openFileName(const QString& filter, const QString& folder) override;
  bool choosePrinter(QPrinter& printer) override;
  bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
  QString folderName(const QString& title, const QString& folder) override;

  // The shown dialogs of one kind.
  std::vector<Shown> of(const QString& kind) const;
};

}  // namespace solardesk::testing
