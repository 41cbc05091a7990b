#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace solardesk {

// A record set as the meter sends it: a byte stream in 64-byte blocks. Positions count from 1
// (element 0 of the stream is position 1).
namespace loggerset {
inline constexpr std::size_t kBlockBytes = 64;
inline constexpr std::size_t kIntervalPos = 80;  // 9 ASCII characters, seconds
inline constexpr std::size_t kUnitPos = 123;     // 9 ASCII characters
inline constexpr std::size_t kFieldChars = 9;
inline constexpr std::size_t kFirstRecordPos = 207;
inline constexpr std::size_t kRecordBytes = 9;  // 5 reading characters, 4 unused bytes
inline constexpr std::size_t kReadingChars = 5;
inline constexpr std::size_t kEndDistance = 40;  // a record starts at least this far before
                                                 // the last non-zero byte
inline constexpr std::size_t kEndSearch = 64;    // the last non-zero byte is searched here
// A stream this short has no complete unit field: it holds no readable data.
inline constexpr std::size_t kShortestUnreadable = kUnitPos + kFieldChars - 1;  // 131
}  // namespace loggerset

// The number of 64-byte blocks a set of `setLength` bytes arrives in (100 gives 2, 129 gives 3).
std::uint64_t SetBlockCount(std::uint32_t setLength);

// The start of a set: "20" put before its two-digit-year text "yy/mm/dd hh:nn:ss". Nothing when
// that does not form a valid date and time. Trailing blanks and NULs of the meter's text are
// ignored.
struct LoggerStart {
  std::int64_t julianDay = 0;
  int secondOfDay = 0;
};
std::optional<LoggerStart> ParseLoggerStart(const QString& startText);

// A decoded record set: the unit for LoggerUnit and one list line per record.
struct LoggerSetLines {
  QString unit;                 // "W/(M)2" or "Btu/(ft)2.h"
  double intervalSeconds = 0;   // the leading number of the interval field
  std::size_t lastDataPos = 0;  // L, the position of the last non-zero byte; 0 when none
  QStringList lines;            // in logger record line form
};

// Decodes a downloaded stream. Nothing when the set holds no readable data: a stream of 131
// bytes or fewer, or a start text that is not a valid date and time. Never reads beyond the
// stream.
std::optional<LoggerSetLines> ParseLoggerSet(const std::vector<std::uint8_t>& stream,
                                             const QString& startText);

// The progress bar while the blocks arrive (0..25) and while the lines are built (25..100).
int BlockProgress(std::uint64_t block, std::uint64_t blocks);
int LineProgress(std::size_t recordIndex, std::size_t lastDataPos);

}  // namespace solardesk
