#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>

namespace solardesk {

class RecordSeries;

// Records of a list as CSV (RFC 4180): the columns number, time, value, unit, every record
// ended by CR LF. The command line's "export" and the list windows' "Export CSV" write the same.

inline constexpr char kCsvHeading[] = "number,time,value,unit";
inline const QString kCsvFilter = QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|");

// One field: in double quotes, with each double quote doubled, when it holds a comma, a double
// quote, CR or LF; as it is otherwise.
void AppendCsvField(QByteArray& out, QByteArrayView field);
// The fields joined by commas and ended by CR LF.
void AppendCsvRecord(QByteArray& out, const QStringList& fields);

// The heading and one row per record: number and reading as written without their padding, the
// time in ISO 8601 with the UTC offset of that moment as the series placed it (a time that
// names no instant is kept as written, without padding), and `unit` without padding.
// The CSV goes to `write` in pieces of some tens of kilobytes, so that a long list is written
// without being held in memory twice; a piece that `write` refuses (false) ends the writing,
// and false is returned.
bool WriteRecordsCsv(const RecordSeries& records, const QString& unit,
                     const std::function<bool(QByteArrayView piece)>& write);

}  // namespace solardesk
