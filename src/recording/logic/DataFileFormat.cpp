#include "DataFileFormat.h"

#include "SingleText.h"

namespace solardesk {

QString RightAligned(const QString& text, int width) {
  if (text.size() >= width) return text;
  return QString(width - text.size(), QLatin1Char(' ')) + text;
}

QString UnitField(const QString& unit) {
  return RightAligned(unit, 15);
}

QString HeaderText(const QString& unit) {
  return kNumberHeading + QLatin1Char('\t') + kDateTimeHeading + QLatin1Char('\t') +
         UnitField(unit) + QLatin1Char('\t');
}

QString SampleTimeText(const QDateTime& t) {
  return t.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString RecordText(float number, const QString& dateTime, const QString& value) {
  return kNumberIndent + SingleText(number) + QLatin1Char('\t') + dateTime + QStringLiteral("\t ") +
         value + QLatin1Char('\t');
}

QString ListNumberCell(float number) {
  return kNumberIndent + SingleText(number);
}

QString ListRowText(const QString& number, const QString& dateTime, const QString& value) {
  return number + QLatin1Char('\t') + dateTime + QLatin1Char('\t') + value + QLatin1Char('\t');
}

QByteArrayView TabField(QByteArrayView line, int k) {
  qsizetype start = 0;
  for (int i = 0; i < k; ++i) {
    const qsizetype tab = line.indexOf('\t', start);
    if (tab < 0) return {};
    start = tab + 1;
  }
  const qsizetype end = line.indexOf('\t', start);
  return line.sliced(start, (end < 0 ? line.size() : end) - start);
}

QString AlignedLine(QStringView line) {
  static constexpr int kWidths[] = {10, 21, 15};  // the heading's number, date-time, unit
  QString out;
  int k = 0;
  for (QStringView field : line.split(QLatin1Char('\t'))) {
    const QString text = field.trimmed().toString();
    if (k < 3) {
      out += RightAligned(text, kWidths[k]);
    } else if (!text.isEmpty()) {
      out += QLatin1Char(' ') + text;
    }
    ++k;
  }
  return out;
}

QString ContinuationName(const QString& recordFileName, int part) {
  const qsizetype slash = std::max(recordFileName.lastIndexOf(QLatin1Char('/')),
                                   recordFileName.lastIndexOf(QLatin1Char('\\')));
  const qsizetype dot = recordFileName.indexOf(QLatin1Char('.'), slash + 1);
  const QString suffix = QStringLiteral("-%1").arg(part);
  if (dot < 0) return recordFileName + suffix;
  return recordFileName.left(dot) + suffix + recordFileName.mid(dot);
}

QString FlushFileName(const QString& folder, const QDateTime& t) {
  QString name = t.toString(QStringLiteral("MMddHHmmss")) + QStringLiteral(".pvd");
  if (folder.isEmpty()) return name;
  return folder + (folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + name;
}

}  // namespace solardesk
