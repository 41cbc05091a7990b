#pragma once

#include <QString>
#include <cstdint>
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
  void SetEntry(int set, std::uint32_t length, const QString& startText);

  std::uint32_t CapacityKb = 0;  // A, the logger's capacity as last reported: no set is longer
  QString LoggerUnit;            // the unit of the set downloaded last
  bool MemoryOpen = false;       // the Memory window is open

 private:
  std::vector<std::uint32_t> lengths_;  // index 0 unused
  std::vector<QString> startTexts_;
};

}  // namespace solardesk
