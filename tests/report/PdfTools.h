#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace solardesk::testing {

// The tools of poppler-utils on a PDF file: what they print, empty when the tool is missing or
// fails.
inline QString PopplerOutput(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

inline bool HasPoppler() {
  for (const char* tool : {"pdfinfo", "pdftotext", "pdftoppm", "pdfimages"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
  return true;
}

// The text of the PDF with its layout kept: a table row stays on one line.
inline QString PdfText(const QString& pdf) {
  return PopplerOutput(QStringLiteral("pdftotext"),
                       {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

// The page count pdfinfo gives, and the page size line ("612 x 792 pts (letter)").
inline int PdfPages(const QString& pdf) {
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^Pages: +(\\d+)$"), QRegularExpression::MultilineOption)
          .match(PopplerOutput(QStringLiteral("pdfinfo"), {pdf}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline QString PdfPageSize(const QString& pdf) {
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^Page size: +(.*)$"), QRegularExpression::MultilineOption)
          .match(PopplerOutput(QStringLiteral("pdfinfo"), {pdf}));
  return m.captured(1).trimmed();
}

// The raster images the PDF holds, as pdfimages lists them (one line each below its two heading
// lines); -1 when the tool fails.
inline int PdfImageCount(const QString& pdf) {
  const QString list = PopplerOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  if (list.isEmpty()) return -1;
  return static_cast<int>(list.trimmed().count(QLatin1Char('\n'))) - 1;
}

// Page `page` (from 0) rendered by pdftoppm at `dpi`.
inline QImage PdfPageImage(const QString& pdf, int page, int dpi) {
  QTemporaryDir dir;
  const QString prefix = dir.filePath(QStringLiteral("page"));
  const QString number = QString::number(page + 1);
  PopplerOutput(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), number,
                 QStringLiteral("-l"), number, QStringLiteral("-png"),
                 QStringLiteral("-singlefile"), pdf, prefix});
  return QImage(prefix + QStringLiteral(".png"));
}

}  // namespace solardesk::testing
