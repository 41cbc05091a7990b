#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>

namespace solardesk {

// A dialog takes the enabled state of its parent: a window that is shut for the moment (the
// logger window while a set downloads) leaves its dialogs to the main window.
QWidget* QtDialogs::Parent() const {
  auto* window = qobject_cast<QWidget*>(owner());
  return window && window->isVisible() && window->isEnabled() ? window : parent_;
}

DialogAnswer QtDialogs::message(const QString& text, const QString& title, MessageIcon icon,
                                MessageButtons buttons) {
  QMessageBox box(Parent());
  box.setWindowTitle(title);
  box.setText(text);
  switch (icon) {
    case MessageIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  box.setStandardButtons(buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                             : QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok ? DialogAnswer::Ok : DialogAnswer::Cancel;
}

QString QtDialogs::input(const QString& prompt, const QString& title, const QString& defaultText) {
  QInputDialog dialog(Parent());
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setTextValue(defaultText);
  // The dialog's layout sets its minimum size from its contents: the entry field makes room.
  if (auto* field = dialog.findChild<QLineEdit*>()) {
    const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
    field->setMinimumWidth(TitleBarWidth(title) - margins.left() - margins.right());
  }
  return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

std::optional<int> QtDialogs::choose(const QString& prompt, const QString& title,
                                     const QStringList& items, int current) {
  if (items.isEmpty()) return std::nullopt;
  bool ok = false;
  const QString chosen = QInputDialog::getItem(Parent(), title, prompt, items,
                                               std::clamp(current, 0, int(items.size()) - 1),
                                               /*editable=*/false, &ok);
  const int index = ok ? int(items.indexOf(chosen)) : -1;
  return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

int QtDialogs::TitleBarWidth(const QString& title) {
  // Title bars commonly use a bold face a little larger than the dialog's; the window manager
  // adds its icon and up to three buttons, each about two lines wide, and some padding.
  QFont font = QApplication::font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.2);
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(title) + 4 * 2 * metrics.height() + 24;
}

QString QtDialogs::ToQtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) entries << parts[i];
  return entries.join(QStringLiteral(";;"));
}

QString QtDialogs::DefaultSuffixOf(const QString& qtFilter) {
  // The first pattern between the parentheses, when it is "*." and a plain extension.
  static const QRegularExpression pattern(QStringLiteral(R"(\(\*\.(\w+)[\s)])"));
  const QRegularExpressionMatch m = pattern.match(qtFilter);
  return m.hasMatch() ? m.captured(1) : QString();
}

QString QtDialogs::saveFileName(const QString& filter, const QString& folder) {
  QFileDialog dialog(Parent(), QString(), folder, ToQtFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before an existing file is replaced
  dialog.setFileMode(QFileDialog::AnyFile);
  // A name typed without an extension gets the one of the chosen filter, so that "Open" with
  // the data-file filter finds the file again.
  const auto follow = [&dialog](const QString& chosen) {
    dialog.setDefaultSuffix(DefaultSuffixOf(chosen));
  };
  follow(dialog.selectedNameFilter());
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

QString QtDialogs::folderName(const QString& title, const QString& folder) {
  return QFileDialog::getExistingDirectory(Parent(), title, folder);
}

QString QtDialogs::openFileName(const QString& filter, const QString& folder) {
  return QFileDialog::getOpenFileName(Parent(), QString(), folder, ToQtFilter(filter));
}

bool QtDialogs::choosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, Parent());
  return dialog.exec() == QDialog::Accepted;
}

// The preview's own "Print" button would print past the write gate (a PDF file chosen in its
// printer dialog); here it closes the preview with OK, and the caller prints as "Print" does.
bool QtDialogs::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
  QPrintPreviewDialog dialog(&printer, Parent());
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&paint](QPrinter* p) { paint(*p); });
  const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
  for (QAction* action : dialog.findChildren<QAction*>()) {
    if (action->text() != print) continue;
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    QObject::connect(action, &QAction::triggered, &dialog, &QDialog::accept);
  }
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace solardesk
