#include "DataFileReader.h"

#include "data/RecordFile.h"
#include "panel/logic/Instrument.h"

namespace solardesk {
namespace {

QString CompletedText(int i) {
  return QStringLiteral("%1 completed").arg(i);
}

}  // namespace

LoadOutcome LoadDataFile(const QString& path, const QString& title, LoadTarget& list,
                         QString& openedFileUnit, Instrument& instrument) {
  instrument.PauseTimers();
  RecordSeries& records = list.Records();
  ProgressPacer pacer(list, instrument);
  bool titled = false;
  const RecordFileOutcome read = ReadRecordFile(path, records, [&](int lines) {
    if (!titled) {
      titled = true;
      list.SetTitle(records.title());
      openedFileUnit = records.unit();
    }
    if (!pacer.Due()) return true;
    list.EntriesAdded();
    return pacer.Show(CompletedText(lines - 1));
  });
  LoadOutcome outcome{read.complete, read.linesRead};
  if (read.opened) {
    list.EntriesAdded();
    if (read.complete) {
      list.SetCaption(title);
    } else if (read.linesRead > 0) {
      list.SetCaption(CompletedText(read.linesRead - 1));
    }
  }
  instrument.ResumeTimers();
  return outcome;
}

}  // namespace solardesk
