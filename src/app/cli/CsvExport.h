#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace solardesk::cli {

// A data file's records as CSV (RFC 4180): the columns number, time, value, unit, each record
// ended by CR LF.

inline const QString kCsvHeading = QStringLiteral("number,time,value,unit");

// The fields joined by commas and ended by CR LF; a field holding a comma, a double quote, CR
// or LF is put in double quotes, with each double quote doubled.
QString CsvRecord(const QStringList& fields);

// The date and time of a record in ISO 8601 with the PC's UTC offset at that moment
// ("2026-12-04T23:59:58+01:00"). Takes the recording and list form "YYYY/MM/DD hh:nn:ss" and
// the logger form "yy/mm/dd hh:nn:ss", whose year is read as 20yy; blanks around it do not
// count. Nothing when the text is neither, or names no moment of the local time.
std::optional<QString> IsoTime(const QString& dateTime);

// The CSV fields of one entry of a loaded data file (the record number, a tab, the date and
// time, a tab, the value, a tab): number and value without their padding, the time in ISO 8601
// (a time it cannot read is kept as written, without padding), and `unit`.
QStringList CsvFields(QByteArrayView entry, const QString& unit);

}  // namespace solardesk::cli
