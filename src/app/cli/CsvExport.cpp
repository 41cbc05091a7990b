#include "CsvExport.h"

#include <QDateTime>
#include <QTimeZone>

#include "recording/logic/DataFileFormat.h"
#include "station/EventLog.h"

namespace solardesk::cli {

QString CsvRecord(const QStringList& fields) {
  QStringList quoted;
  for (const QString& f : fields) {
    if (f.contains(QLatin1Char(',')) || f.contains(QLatin1Char('"')) ||
        f.contains(QLatin1Char('\r')) || f.contains(QLatin1Char('\n'))) {
      QString escaped = f;
      escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
      quoted << QLatin1Char('"') + escaped + QLatin1Char('"');
    } else {
      quoted << f;
    }
  }
  return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

std::optional<QString> IsoTime(const QString& dateTime) {
  QString text = dateTime.trimmed();
  if (text.size() == 17) text.prepend(QStringLiteral("20"));
  if (text.size() != 19) return std::nullopt;
  const QDateTime t = QDateTime::fromString(text, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  // A time that the clock skipped (the hour lost to summer time) comes back moved or invalid.
  if (!t.isValid() || t.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) != text)
    return std::nullopt;
  return station::IsoTimeText(t);
}

QStringList CsvFields(QByteArrayView entry, const QString& unit) {
  const QString time = QString::fromLatin1(TabField(entry, 1)).trimmed();
  return {QString::fromLatin1(TabField(entry, 0)).trimmed(), IsoTime(time).value_or(time),
          QString::fromLatin1(TabField(entry, 2)).trimmed(), unit};
}

}  // namespace solardesk::cli
