#include "BacklogReader.h"

#include <QDir>
#include <QFileInfo>

#include "DayFiles.h"
#include "data/RecordFile.h"

namespace solardesk::station {

bool BacklogReader::Load(const QString& name) {
  const QString path = QDir(folder_).filePath(name);
  records_ = RecordSeries();
  size_ = QFileInfo(path).size();
  next_ = 0;
  return ReadRecordFile(path, records_).opened;
}

std::optional<Sample> BacklogReader::Next(const QString& from, const RecordPosition& upTo,
                                          const std::function<bool(const RecordPosition&)>& skip,
                                          const std::function<bool(const QString&)>& sent) {
  for (;;) {
    if (!file_.isEmpty()) {
      for (; next_ < records_.count(); ++next_) {
        std::optional<Sample> s = SampleOfRecord(records_, next_);
        if (!s || !s->record || *s->record <= lastSeen_) continue;
        const RecordPosition at{file_, *s->record};
        if (upTo < at) return std::nullopt;  // not yet
        lastSeen_ = at.record;
        if (skip(at)) continue;
        ++next_;
        s->file = file_;
        return s;
      }
      // Read to its end: the file may have grown since (the station went on writing it).
      if (QFileInfo(QDir(folder_).filePath(file_)).size() != size_) {
        Load(file_);
        continue;
      }
      if (!DayFiles::Before(file_, upTo.file)) return std::nullopt;
      records_ = RecordSeries();  // the memory of a day file goes before the next is read
    }
    QString name;
    for (const QString& candidate : DayFiles::NamesInOrder(folder_)) {
      const bool after =
          file_.isEmpty() ? !DayFiles::Before(candidate, from) : DayFiles::Before(file_, candidate);
      if (!after) continue;
      if (DayFiles::Before(upTo.file, candidate)) break;
      if (sent(candidate)) continue;
      name = candidate;
      break;
    }
    if (name.isEmpty()) return std::nullopt;
    file_ = name;
    lastSeen_ = 0;
    Load(name);
  }
}

std::map<QString, long long> BacklogReader::LastRecords(const QString& folder,
                                                        const QString& from) {
  std::map<QString, long long> out;
  for (const QString& name : DayFiles::NamesInOrder(folder)) {
    if (DayFiles::Before(name, from)) continue;
    RecordSeries records;
    ReadRecordFile(QDir(folder).filePath(name), records);
    long long last = 0;
    for (int i = 0; i < records.count(); ++i)
      if (const auto n = RecordNumber(records.fields(i).number))
        last = std::max<long long>(last, *n);
    out[name] = last;
  }
  return out;
}

}  // namespace solardesk::station
