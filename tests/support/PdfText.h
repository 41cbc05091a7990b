#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace solardesk::testing {

// Runs a poppler tool (poppler-utils, scripts/install-deps.sh) and gives what it wrote; a
// missing tool fails the test.
inline QString PopplerOutput(const QString& tool, const QStringList& arguments) {
  const QString path = QStandardPaths::findExecutable(tool);
  if (path.isEmpty()) {
    ADD_FAILURE() << tool.toStdString() << " is missing (poppler-utils, scripts/install-deps.sh)";
    return {};
  }
  QProcess run;
  run.start(path, arguments);
  run.waitForFinished();
  return QString::fromUtf8(run.readAllStandardOutput());
}

// The lines of each page of a PDF file as pdftotext places them in their columns, blank lines
// and trailing blanks left out.
inline std::vector<QStringList> PdfPages(const QString& pdf) {
  std::vector<QStringList> pages;
  const QString text =
      PopplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
  for (const QString& page : text.split(QLatin1Char('\f'))) {
    QStringList lines;
    for (QString line : page.split(QLatin1Char('\n'))) {
      line.remove(QRegularExpression(QStringLiteral("\\s+$")));
      if (!line.isEmpty()) lines << line;
    }
    pages.push_back(lines);
  }
  // pdftotext ends every page with a form feed: the text after the last is no page.
  if (!pages.empty() && pages.back().isEmpty()) pages.pop_back();
  return pages;
}

// The number of pages of a PDF file as pdfinfo reads it; -1 when it cannot.
inline int PdfPageCount(const QString& pdf) {
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
          .match(PopplerOutput(QStringLiteral("pdfinfo"), {pdf}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

}  // namespace solardesk::testing
