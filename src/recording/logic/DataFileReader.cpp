#include "DataFileReader.h"

#include <QFile>
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

// Reads the lines of `bytes`, each without its LF and a CR before it, until `take` refuses one.
template <typename Take>
void ForEachLine(QByteArrayView bytes, Take&& take) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (p < end) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* lineEnd = nl ? nl : end;
    const char* contentEnd = lineEnd;
    if (contentEnd > p && contentEnd[-1] == '\r') --contentEnd;
    if (!take(QByteArrayView(p, contentEnd - p))) return;
    p = nl ? nl + 1 : end;
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
  // Map the file when the system can; read it whole otherwise.
  QByteArray readBytes;
  QByteArrayView bytes;
  if (const uchar* mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr) {
    bytes = QByteArrayView(reinterpret_cast<const char*>(mapped), file.size());
  } else {
    readBytes = file.readAll();
    bytes = readBytes;
  }

  LineStore& entries = list.Entries();
  entries.reserve(entries.count() + bytes.size() + bytes.size() / 8, 0);
  ProgressPacer pacer(list);
  bool complete = true;
  int i = 0;
  ForEachLine(bytes, [&](QByteArrayView line) {
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
    if (pacer.Due()) {
      list.EntriesAdded();
      pacer.Show(CompletedText(i));
    }
    ++i;
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
