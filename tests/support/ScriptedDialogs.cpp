#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

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
  shown.push_back({"message", text, title, icon, buttons, {}, {}, owner(), {}, -1});
  return Next(messageAnswers,
              buttons == MessageButtons::Ok ? DialogAnswer::Ok : DialogAnswer::Cancel);
}

QString ScriptedDialogs::input(const QString& prompt, const QString& title,
                               const QString& defaultText) {
  shown.push_back({"input",
                   prompt,
                   title,
                   kNoIcon,
                   MessageButtons::OkCancel,
                   defaultText,
                   {},
                   owner(),
                   {},
                   -1});
  return Next(inputAnswers, QString());
}

std::optional<int> ScriptedDialogs::choose(const QString& prompt, const QString& title,
                                           const QStringList& items, int current) {
  shown.push_back({"choose",
                   prompt,
                   title,
                   kNoIcon,
                   MessageButtons::OkCancel,
                   {},
                   {},
                   owner(),
                   items,
                   current});
  if (chooseAnswers.empty()) {
    ADD_FAILURE() << "no answer queued for the choice \"" << prompt.toStdString() << "\" ("
                  << items.join(QStringLiteral(" | ")).toStdString() << ")";
    return std::nullopt;
  }
  const std::optional<int> chosen = Next(chooseAnswers, std::optional<int>());
  if (chosen && (*chosen < 0 || *chosen >= items.size())) {
    ADD_FAILURE() << "the choice \"" << prompt.toStdString() << "\" has no item " << *chosen
                  << " among its " << items.size();
    return std::nullopt;
  }
  return chosen;
}

QString ScriptedDialogs::saveFileName(const QString& filter, const QString& folder) {
  shown.push_back(
      {"save", folder, {}, kNoIcon, MessageButtons::OkCancel, {}, filter, owner(), {}, -1});
  return Next(saveAnswers, QString());
}

QString ScriptedDialogs::openFileName(const QString& filter, const QString& folder) {
  shown.push_back(
      {"open", folder, {}, kNoIcon, MessageButtons::OkCancel, {}, filter, owner(), {}, -1});
  return Next(openAnswers, QString());
}

QString ScriptedDialogs::folderName(const QString& title, const QString& folder) {
  shown.push_back(
      {"folder", folder, title, kNoIcon, MessageButtons::OkCancel, {}, {}, owner(), {}, -1});
  return Next(folderAnswers, QString());
}

bool ScriptedDialogs::choosePrinter(QPrinter& printer) {
  shown.push_back({"printer", {}, {}, kNoIcon, MessageButtons::OkCancel, {}, {}, owner(), {}, -1});
  const bool accepted = Next(printerAnswers, false);
  const QString pdf = pdfAnswers.empty() ? printToPdf : Next(pdfAnswers, QString());
  if (accepted && !pdf.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
  }
  return accepted;
}

bool ScriptedDialogs::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
  shown.push_back({"preview", {}, {}, kNoIcon, MessageButtons::OkCancel, {}, {}, owner(), {}, -1});
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
