#include "ScriptedDialogs.h"

#include <QPrinter>
#include <QTemporaryDir>

namespace solardesk::testing {
namespace {

constexpr MessageIcon kNoIcon = MessageIcon::Information;

template <typename T>
T Next(std::deque<T>& q, T fallback) {
  if (q.empty()) return fallback;
  T v = q.front();
  q.pop_front();
  return v;
}

}  // namespace

DialogAnswer ScriptedDialogs::message(const QString& text, const QString& title, MessageIcon icon,
                                      MessageButtons buttons) {
  shown.push_back({"message", text, title, icon, buttons, {}, {}, owner()});
  return Next(messageAnswers,
              buttons == MessageButtons::Ok ? DialogAnswer::Ok : DialogAnswer::Cancel);
}

QString ScriptedDialogs::input(const QString& prompt, const QString& title,
                               const QString& defaultText) {
  shown.push_back(
      {"input", prompt, title, kNoIcon, MessageButtons::OkCancel, defaultText, {}, owner()});
  return Next(inputAnswers, QString());
}

QString ScriptedDialogs::saveFileName(const QString& filter, const QString& folder) {
  shown.push_back({"save", folder, {}, kNoIcon, MessageButtons::OkCancel, {}, filter, owner()});
  return Next(saveAnswers, QString());
}

QString ScriptedDialogs::openFileName(const QString& filter, const QString& folder) {
  shown.push_back({"open", folder, {}, kNoIcon, MessageButtons::OkCancel, {}, filter, owner()});
  return Next(openAnswers, QString());
}

QString ScriptedDialogs::folderName(const QString& title, const QString& folder) {
  shown.push_back({"folder", folder, title, kNoIcon, MessageButtons::OkCancel, {}, {}, owner()});
  return Next(folderAnswers, QString());
}

bool ScriptedDialogs::choosePrinter(QPrinter& printer) {
  shown.push_back({"printer", {}, {}, kNoIcon, MessageButtons::OkCancel, {}, {}, owner()});
  const bool accepted = Next(printerAnswers, false);
  const QString pdf = pdfAnswers.empty() ? printToPdf : Next(pdfAnswers, QString());
  if (accepted && !pdf.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
  }
  return accepted;
}

bool ScriptedDialogs::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
  shown.push_back({"preview", {}, {}, kNoIcon, MessageButtons::OkCancel, {}, {}, owner()});
  // The preview's printer is the caller's, sent to a file for the time of the painting only.
  const QPrinter::OutputFormat format = printer.outputFormat();
  const QString file = printer.outputFileName();
  QTemporaryDir own;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(previewPdf.isEmpty() ? own.filePath(QStringLiteral("preview.pdf"))
                                                 : previewPdf);
  paint(printer);
  printer.setOutputFormat(format);
  printer.setOutputFileName(file);
  return Next(previewAnswers, false);
}

std::vector<ScriptedDialogs::Shown> ScriptedDialogs::of(const QString& kind) const {
  std::vector<Shown> r;
  for (const auto& s : shown) {
    if (s.kind == kind) r.push_back(s);
  }
  return r;
}

}  // namespace solardesk::testing
