#include "RecordFile.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace solardesk {
namespace {

// A piece of the file: events may run between pieces, and a file that shrinks meanwhile (a save
// onto the same name) must only end the reading, not the program.
constexpr qint64 kPieceBytes = qint64{1} << 20;

// Reads the lines of `file`, each without its LF and a CR before it, until `take` refuses one
// or the file ends. A file that shrinks meanwhile ends at the last whole line read.
template <typename Take>
void ForEachLine(QFile& file, Take&& take) {
  QByteArray buffer;
  for (;;) {
    // `buffer` holds at most the beginning of a line whose end has not been read yet.
    const qsizetype kept = buffer.size();
    buffer.resize(kept + kPieceBytes);
    const qint64 got = file.read(buffer.data() + kept, kPieceBytes);
    buffer.resize(kept + std::max<qint64>(got, 0));
    const bool atEnd = got <= 0;

    const char* const begin = buffer.constData();
    const char* const end = begin + buffer.size();
    const char* p = begin;
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      if (!nl && !atEnd) break;
      // An unfinished last line of a file cut short while it was read is a fragment.
      if (!nl && file.size() < file.pos()) return;
      const char* lineEnd = nl ? nl : end;
      const char* contentEnd = lineEnd;
      if (contentEnd > p && contentEnd[-1] == '\r') --contentEnd;
      if (!take(QByteArrayView(p, contentEnd - p))) return;
      p = nl ? nl + 1 : end;
    }
    if (atEnd) return;
    buffer.remove(0, p - begin);
  }
}

}  // namespace

RecordFileOutcome ReadRecordFile(const QString& path, RecordSeries& series,
                                 const std::function<bool(int linesRead)>& progress) {
  RecordFileOutcome outcome;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return outcome;
  outcome.opened = true;
  // A record line of a recording is some 38 bytes long.
  const qint64 size = file.size();
  series.reserve(series.entries().count() + size + size / 8, static_cast<int>(size / 36));
  bool complete = true;
  int i = 0;
  ForEachLine(file, [&](QByteArrayView line) {
    if (i == 0) {
      if (line.indexOf('\t') < 0) {
        complete = false;
        return false;
      }
      series.SetHeader(line);
    } else if (!series.Append(line)) {
      complete = false;
      return false;
    }
    ++i;
    if (progress && !progress(i)) {
      complete = false;
      return false;
    }
    return true;
  });
  outcome.complete = complete;
  outcome.linesRead = i;
  return outcome;
}

}  // namespace solardesk
