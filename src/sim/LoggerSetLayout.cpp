#include "LoggerSetLayout.h"

namespace solardesk::sim {
namespace {

constexpr std::size_t kIntervalPos = 80;
constexpr std::size_t kUnitPos = 123;
constexpr std::size_t kFirstRecordPos = 207;
constexpr std::size_t kRecordSize = 9;
constexpr std::size_t kEndDistance = 40;

void Put(std::vector<std::uint8_t>& s, std::size_t pos, const QString& text, std::size_t width) {
  const QByteArray bytes = text.toLatin1().leftJustified(static_cast<qsizetype>(width), ' ', true);
  for (std::size_t i = 0; i < width; ++i)
    s[pos - 1 + i] = static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(i)]);
}

}  // namespace

std::vector<std::uint8_t> LayOutLoggerSet(const QString& intervalText, const QString& unitText,
                                          const std::vector<QString>& readings) {
  // With no records the end marker sits before the first record could be taken.
  const std::size_t lastRecordPos = readings.empty()
                                        ? kFirstRecordPos - kRecordSize
                                        : kFirstRecordPos + kRecordSize * (readings.size() - 1);
  const std::size_t end = lastRecordPos + kEndDistance;
  std::vector<std::uint8_t> s(end, 0);
  Put(s, kIntervalPos, intervalText, 9);
  Put(s, kUnitPos, unitText, 9);
  for (std::size_t n = 0; n < readings.size(); ++n) {
    Put(s, kFirstRecordPos + kRecordSize * n, readings[n], 5);
  }
  // End marker: the bytes after the last record's reading up to `end` are 0xFF.
  for (std::size_t p = lastRecordPos + 5; p <= end; ++p) s[p - 1] = 0xFF;
  return s;
}

}  // namespace solardesk::sim
