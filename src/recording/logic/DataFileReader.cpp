#include "DataFileReader.h"

#include <QFile>
#include <algorithm>
#include <cstring>

#include "DataFileFormat.h"
#include "panel/logic/Instrument.h"

namespace solardesk {
namespace {

constexpr int kNumberWidth = 10;
constexpr char kSpaces[] = "          ";  // kNumberWidth spaces

QString CompletedText(int i) {
  return QStringLiteral("%1 completed").arg(i);
}

// The file is read a piece at a time, never mapped: events run while it loads, and a file that
// shrinks meanwhile (a save onto the same name) must only end the reading, not the program.
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

LoadOutcome LoadDataFile(const QString& path, const QString& title, LoadTarget& list,
                         QString& openedFileUnit, Instrument& instrument) {
  LoadOutcome outcome;
  instrument.PauseTimers();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    instrument.ResumeTimers();
    return outcome;
  }
  LineStore& entries = list.Entries();
  const qint64 size = file.size();
  entries.reserve(entries.count() + size + size / 8, 0);
  ProgressPacer pacer(list, instrument);
  bool complete = true;
  int i = 0;
  ForEachLine(file, [&](QByteArrayView line) {
    while (!line.empty() && line.front() == ' ') line = line.sliced(1);
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0) {
      complete = false;
      return false;
    }
    const QByteArrayView field = line.first(tab);
    const QByteArrayView rest = line.sliced(tab + 1);
    if (i == 0) {
      list.SetTitle(RightAligned(QString::fromLatin1(field), kNumberWidth) + QLatin1Char('\t') +
                    QString::fromLatin1(rest));
      openedFileUnit = QString::fromLatin1(TabField(line, 2));
    } else {
      entries.beginLine();
      if (field.size() < kNumberWidth)
        entries.add(QByteArrayView(kSpaces, kNumberWidth - field.size()));
      entries.add(field);
      entries.add("\t");
      entries.add(rest);
    }
    ++i;
    if (pacer.Due()) {
      list.EntriesAdded();
      if (!pacer.Show(CompletedText(i - 1))) {
        complete = false;
        return false;
      }
    }
    return true;
  });

  outcome.complete = complete;
  outcome.linesRead = i;
  list.EntriesAdded();
  if (complete) {
    list.SetCaption(title);
  } else if (i > 0) {
    list.SetCaption(CompletedText(i - 1));
  }
  file.close();
  instrument.ResumeTimers();
  return outcome;
}

}  // namespace solardesk
