#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace solardesk {

// The logger state the directory read fills and the Memory window reads, for the life of the
// program. Entries above the current set count are left from earlier reads and are not used.
class LoggerState {
 public:
  // SetLength(i), SetStartText(i) for set i counted from 1; 0 and the empty text for a set
  // never read.
  std::uint32_t SetLength(int set) const;
  QString SetStartText(int set) const;
  // A new entry forgets what a download of the set had found.
  void SetEntry(int set, std::uint32_t length, const QString& startText);

  // What a download of set i found: its record count and interval in seconds.
  struct Decoded {
    int records = 0;
    double intervalSeconds = 0;
  };
  void SetDecoded(int set, const Decoded& decoded);
  std::optional<Decoded> DecodedSet(int set) const;

  std::uint32_t CapacityKb = 0;  // A, the logger's capacity as last reported: no set is longer
  QString LoggerUnit;            // the unit of the set downloaded last
  bool MemoryOpen = false;       // the Memory window is open

 private:
  std::vector<std::uint32_t> lengths_;  // index 0 unused
  std::vector<QString> startTexts_;
  std::map<int, Decoded> decoded_;
};

}  // namespace solardesk
