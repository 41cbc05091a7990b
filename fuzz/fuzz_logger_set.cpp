#include <cstddef>
#include <cstdint>

#include "logger/logic/LoggerSet.h"

using namespace solardesk;

// Any bytes as a downloaded record set: the first 17 bytes are the set's start text from the
// directory, the rest is the stream. The decoder must never read beyond the stream, and every
// line it builds must have the logger line form.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t startLength = size < 17 ? size : 17;
  const QString start =
      QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(startLength));
  const std::vector<std::uint8_t> stream(data + startLength, data + size);
  const auto set = ParseLoggerSet(stream, start);
  if (!set) return 0;
  if (stream.size() <= loggerset::kShortestUnreadable) __builtin_trap();
  const std::size_t mostRecords = stream.size() < loggerset::kFirstRecordPos
                                      ? 0
                                      : (stream.size() - loggerset::kFirstRecordPos) / 9 + 1;
  if (static_cast<std::size_t>(set->lines.size()) > mostRecords) __builtin_trap();
  for (const QString& line : set->lines) {
    if (line.count(QLatin1Char('\t')) < 3 || !line.endsWith(QLatin1Char('\t'))) __builtin_trap();
  }
  return 0;
}
