#include "RecordsCsv.h"

#include <cstring>
#include <string>

#include "core/IsoTime.h"
#include "data/RecordSeries.h"

namespace solardesk {
namespace {

QByteArrayView Trimmed(QByteArrayView t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t = t.sliced(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.chop(1);
  return t;
}

}  // namespace

namespace {

// Writes characters into room reserved beforehand: a CSV of some hundred thousand records is
// built without a check or a copy per character.
struct CharWriter {
  char* p;
  void push_back(char c) { *p++ = c; }
  void append(const char* s, std::size_t n) {
    if (n == 0) return;  // an empty field may come with no buffer at all
    std::memcpy(p, s, n);
    p += n;
  }
};

template <typename Out>
void PutCsvField(Out& out, QByteArrayView field) {
  bool quote = false;
  for (const char c : field) {
    if (c == ',' || c == '"' || c == '\r' || c == '\n') {
      quote = true;
      break;
    }
  }
  if (!quote) {
    out.append(field.data(), static_cast<std::size_t>(field.size()));
    return;
  }
  out.push_back('"');
  for (const char c : field) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

}  // namespace

void AppendCsvField(QByteArray& out, QByteArrayView field) {
  std::string text;
  PutCsvField(text, field);
  out.append(text.data(), static_cast<qsizetype>(text.size()));
}

void AppendCsvRecord(QByteArray& out, const QStringList& fields) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    AppendCsvField(out, fields[i].toUtf8());
  }
  out += "\r\n";
}

bool WriteRecordsCsv(const RecordSeries& records, const QString& unit,
                     const std::function<bool(QByteArrayView piece)>& write) {
  constexpr qsizetype kPiece = 64 * 1024;
  QByteArray unitEnd = ",";
  AppendCsvField(unitEnd, unit.trimmed().toLatin1());
  unitEnd += "\r\n";
  QByteArray buffer(kPiece, Qt::Uninitialized);
  CharWriter out{buffer.data()};
  const auto flush = [&] {
    const QByteArrayView piece(buffer.constData(), out.p - buffer.constData());
    out.p = buffer.data();
    return piece.empty() || write(piece);
  };
  out.append(kCsvHeading, sizeof kCsvHeading - 1);
  out.append("\r\n", 2);

  IsoTimeWriter iso;
  for (int i = 0; i < records.count(); ++i) {
    const QByteArrayView entry = records.entry(i);
    // Room for the longest record the entry can give: every character quoted and doubled.
    const qsizetype longest = 2 * entry.size() + kIsoTimeLength + unitEnd.size() + 8;
    if (buffer.constData() + buffer.size() - out.p < longest) {
      if (!flush()) return false;
      if (buffer.size() < longest) {
        buffer.resize(longest);
        out.p = buffer.data();
      }
    }
    const RecordFields f = records.fields(i);
    const QByteArrayView time = Trimmed(f.time);
    PutCsvField(out, Trimmed(f.number));
    out.push_back(',');
    if (const std::optional<Instant> t = records.instant(i)) {
      out.p = iso.Write(out.p, t->local(), t->offset);
    } else {
      PutCsvField(out, time);
    }
    out.push_back(',');
    PutCsvField(out, Trimmed(f.reading));
    out.append(unitEnd.constData(), static_cast<std::size_t>(unitEnd.size()));
  }
  return flush();
}

}  // namespace solardesk
