#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

namespace solardesk {

// The layouts of the ".pvd" data files: tab-separated ASCII lines, each field (the last one
// too) followed by a tab, each line ended by CR LF.

inline constexpr char kLineEnd[] = "\r\n";
inline const QString kDataFileFilter =
    QStringLiteral("Data Files (*.pvd)|*.pvd|All Files (*.*)|*.*|");
inline const QString kNumberHeading = QStringLiteral("      No.s");
inline const QString kDateTimeHeading = QStringLiteral("            Date Time");
// Six spaces before every record number of the recording and list forms.
inline const QString kNumberIndent = QStringLiteral("      ");
// Records per data file, and rows per flush of the live list: four days at one per second.
inline constexpr int kRecordsPerFile = 345600;

// `text` preceded by spaces up to `width` characters; a longer text is kept whole.
QString RightAligned(const QString& text, int width);
// The unit as the header shows it: right-aligned in 15 characters.
QString UnitField(const QString& unit);
// The header line without its line end: "      No.s", tab, "            Date Time", tab, the
// unit field, tab.
QString HeaderText(const QString& unit);
// The sample time as every record shows it: "YYYY/MM/DD hh:nn:ss".
QString SampleTimeText(const QDateTime& t);
// A record line of the recording form, without its line end: six spaces, the number, tab,
// date-time, tab, one space, the value, tab.
QString RecordText(float number, const QString& dateTime, const QString& value);
// A row of the live list as its three cells: six spaces and the number; date-time; value.
QString ListNumberCell(float number);
// Cells joined in the list form: each cell followed by a tab.
QString ListRowText(const QString& number, const QString& dateTime, const QString& value);

// Field `k` (from 0) of a tab-separated line; empty when the line has fewer fields.
QByteArrayView TabField(QByteArrayView line, int k);

// A data line (header, record or list row) as the lists show and print it in a fixed-width
// font: number, date-time and value, each without the spaces around it, right-aligned in the
// widths of the header's fields (10, 21 and 15 characters). Every row then stands in the same
// columns, under its heading, whatever its number ("      9" and "      10" alike); a longer
// field is kept whole, and any further fields follow after a space.
QString AlignedLine(QStringView line);

// The name of continuation file `part` of a recording: "-" and the part number inserted at the
// first "." of the file's own name (folders are left alone), or appended when it has none.
QString ContinuationName(const QString& recordFileName, int part);
// The file a full live list is flushed to: "mmddhhnnss.pvd" in `folder`.
QString FlushFileName(const QString& folder, const QDateTime& t);

}  // namespace solardesk
