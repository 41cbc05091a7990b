#pragma once

#include "Dialogs.h"

namespace solardesk {

// Dialogs nobody answers, for programs and runs without a person: a message box is
// acknowledged, a question (OK and Cancel) gets `questionAnswer`, input, choice and file boxes
// are cancelled, the printer dialog is cancelled and a print preview shows nothing.
class NoDialogs final : public Dialogs {
 public:
  DialogAnswer message(const QString&, const QString&, MessageIcon,
                       MessageButtons buttons) override {
    return buttons == MessageButtons::OkCancel ? questionAnswer : DialogAnswer::Ok;
  }
  QString input(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<int> choose(const QString&, const QString&, const QStringList&, int) override {
    return std::nullopt;
  }
  QString saveFileName(const QString&, const QString&) override { return {}; }
  QString openFileName(const QString&, const QString&) override { return {}; }
  bool choosePrinter(QPrinter&) override { return false; }
  bool previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override { return false; }
  QString folderName(const QString&, const QString&) override { return {}; }

  DialogAnswer questionAnswer = DialogAnswer::Cancel;
};

}  // namespace solardesk
