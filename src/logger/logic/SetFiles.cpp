#include "SetFiles.h"

#include <QSet>

#include "LoggerSet.h"

namespace solardesk {
namespace {

// The start text as a file name's stem: "26/01/02 08:00:00" gives "2026-01-02_080000".
QString StemOf(QString text) {
  while (!text.isEmpty() && (text.back().isNull() || text.back().isSpace())) text.chop(1);
  QString stem = QStringLiteral("20");
  for (const QChar c : text) {
    if (c == QLatin1Char('/')) {
      stem += QLatin1Char('-');
    } else if (c == QLatin1Char(' ')) {
      stem += QLatin1Char('_');
    } else if (c == QLatin1Char(':')) {
      continue;
    } else if (c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('-'))) {
      stem += c;
    } else {
      stem += QLatin1Char('_');
    }
  }
  return stem;
}

}  // namespace

int AnnouncedRecordCount(std::uint32_t setLength) {
  using namespace loggerset;
  const std::uint64_t last = setLength;  // the last byte the set can hold
  if (last < kFirstRecordPos + kEndDistance) return 0;
  return static_cast<int>((last - kEndDistance - kFirstRecordPos) / kRecordBytes + 1);
}

QString IntervalText(double seconds) {
  return QString::number(seconds, 'g', 10) + QStringLiteral(" s");
}

QStringList SetFileNames(const QStringList& startTexts) {
  QStringList names;
  QSet<QString> given;
  for (const QString& text : startTexts) {
    const QString stem = StemOf(text);
    QString name = stem + QStringLiteral(".pvd");
    for (int n = 2; given.contains(name.toLower()); ++n)
      name = stem + QStringLiteral("-%1.pvd").arg(n);
    given.insert(name.toLower());
    names.push_back(name);
  }
  return names;
}

}  // namespace solardesk
