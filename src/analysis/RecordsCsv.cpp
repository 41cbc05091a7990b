#include "RecordsCsv.h"

#include "LocalTimeline.h"
#include "ReadingSeries.h"
#include "SampleTime.h"
#include "recording/logic/LineStore.h"

namespace solardesk {
namespace {

QByteArrayView Trimmed(QByteArrayView t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t = t.sliced(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.chop(1);
  return t;
}

}  // namespace

void AppendCsvField(QByteArray& out, QByteArrayView field) {
  bool quote = false;
  for (const char c : field) {
    if (c == ',' || c == '"' || c == '\r' || c == '\n') {
      quote = true;
      break;
    }
  }
  if (!quote) {
    out.append(field);
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendCsvRecord(QByteArray& out, const QStringList& fields) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    AppendCsvField(out, fields[i].toUtf8());
  }
  out += "\r\n";
}

QByteArray RecordsCsv(const LineStore& entries, const QString& unit, int first) {
  QByteArray csv;
  csv.reserve(static_cast<qsizetype>(entries.count()) * 48 + 64);
  csv += kCsvHeading;
  csv += "\r\n";
  QByteArray unitField;
  AppendCsvField(unitField, unit.trimmed().toLatin1());
  LocalTimeline timeline;
  for (int i = first; i < entries.count(); ++i) {
    const EntryFields f = SplitEntry(entries.bytes(i));
    const QByteArrayView time = Trimmed(f.time);
    AppendCsvField(csv, Trimmed(f.number));
    csv += ',';
    if (const std::optional<Instant> t = timeline.Next(time)) {
      AppendIsoTime(csv, t->local(), t->offset);
    } else {
      AppendCsvField(csv, time);
    }
    csv += ',';
    AppendCsvField(csv, Trimmed(f.value));
    csv += ',';
    csv += unitField;
    csv += "\r\n";
  }
  return csv;
}

}  // namespace solardesk
