#pragma once

#include <QRegularExpression>
#include <QString>

#include "support/FileBytes.h"

namespace solardesk::testing {

// What is wrong with a recorded data file, or the empty text when every line has the layout
// the recorder writes: the header, then record lines, every line ending in a tab and CR LF. A
// last line cut short (the one being written when the program died) is allowed when
// `lastMayBeCut` is set.
inline QString DataFileFault(const QString& path, bool lastMayBeCut = false,
                             int* records = nullptr) {
  const QByteArray all = ReadBytes(path);
  if (all.isEmpty()) return QStringLiteral("empty or cannot be read");
  QList<QByteArray> lines = all.split('\n');
  const bool endsClean = all.endsWith('\n');
  if (endsClean) lines.removeLast();
  static const QRegularExpression header(QStringLiteral(
      "^      No\\.s\\t            Date Time\\t( {9}W/\\(M\\)2| {4}Btu/\\(ft\\)2\\.h)\\t\\r$"));
  static const QRegularExpression record(
      QStringLiteral("^      [0-9]+(\\.[0-9]+)?(E\\+[0-9]+)?\\t[0-9]{4}/[0-9]{2}/[0-9]{2} "
                     "[0-9]{2}:[0-9]{2}:[0-9]{2}\\t "
                     "[0-9 .]{4,5}\\t\\r$"));
  int count = 0;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString line = QString::fromLatin1(lines[i]);
    const bool last = i == lines.size() - 1;
    if (last && !endsClean) {
      if (lastMayBeCut) break;
      return QStringLiteral("the last line has no line end");
    }
    if (!(i == 0 ? header : record).match(line).hasMatch())
      return QStringLiteral("line %1 is malformed: %2").arg(i + 1).arg(line);
    if (i > 0) ++count;
  }
  if (records) *records = count;
  return QString();
}

}  // namespace solardesk::testing
