#include "QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace solardesk {

DialogAnswer QtDialogs::message(const QString& text, const QString& title, MessageIcon icon,
                                MessageButtons buttons) {
  QMessageBox box(parent_);
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
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultText, &ok);
  return ok ? text : QString();
}

QString QtDialogs::ToQtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) entries << parts[i];
  return entries.join(QStringLiteral(";;"));
}

QString QtDialogs::saveFileName(const QString& filter, const QString& folder) {
  // QFileDialog asks before an existing file is replaced.
  return QFileDialog::getSaveFileName(parent_, QString(), folder, ToQtFilter(filter));
}

QString QtDialogs::openFileName(const QString& filter, const QString& folder) {
  return QFileDialog::getOpenFileName(parent_, QString(), folder, ToQtFilter(filter));
}

bool QtDialogs::choosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace solardesk
