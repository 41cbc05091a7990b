#pragma once

#include <QString>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace solardesk::station {

// Where a record stands in the station's day files: the file's name and the record's number.
// Positions are ordered as the records were written: by day file (DayFiles::Before), then by
// number.
struct RecordPosition {
  QString file;
  long long record = 0;  // 0: no record (a message whose sample is in no day file)
  bool InFile() const { return record > 0; }
};
bool operator<(const RecordPosition& a, const RecordPosition& b);
inline bool operator==(const RecordPosition& a, const RecordPosition& b) {
  return a.file == b.file && a.record == b.record;
}

// The records of the day files that the MQTT broker acknowledged, per file as runs of record
// numbers, kept in the state file DIR/.solardesk-mqtt-acked so that a restarted station knows
// what the broker still lacks. A day file older than the oldest file named counts as sent
// whole; a file named without runs had none sent. The state file holds one line per day file:
//
//   2026-12-06.pvd 1-36000 43201-43250
//
// and is replaced whole (a temporary file through the write gate, synced, then renamed), so
// that a crash leaves the old state or the new one.
class AckedRecords {
 public:
  using Runs = std::vector<std::pair<long long, long long>>;  // first and last, in order

  static constexpr const char* kFileName = ".solardesk-mqtt-acked";

  // Reads the state file; false when there is none or it holds no day file (a first run, an
  // old folder): nothing is known then.
  bool Load(const QString& path);
  // Writes the state file; false, with the reason, when it could not.
  bool Save(const QString& path, QString* why) const;

  // The file is known from here on, with nothing acknowledged yet.
  void Note(const QString& file) { files_.try_emplace(file); }
  void Add(const QString& file, long long first, long long last);
  void Add(const RecordPosition& p) { Add(p.file, p.record, p.record); }
  bool Contains(const QString& file, long long record) const;
  // Records acknowledged in `file` from 1 to `upTo`.
  long long CountUpTo(const QString& file, long long upTo) const;
  // Forgets `file`: it was sent whole and a later file is known.
  void Forget(const QString& file) { files_.erase(file); }

  bool empty() const { return files_.empty(); }
  // The oldest file named; files before it count as sent.
  std::optional<QString> Oldest() const;
  std::vector<QString> Files() const;

 private:
  struct ByDayFile {
    bool operator()(const QString& a, const QString& b) const;
  };
  std::map<QString, Runs, ByDayFile> files_;
};

}  // namespace solardesk::station
