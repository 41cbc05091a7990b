#include "LoggerSet.h"

#include <QDate>
#include <QTime>
#include <cmath>

#include "core/Numbers.h"
#include "panel/logic/DisplayDecode.h"

namespace solardesk {
namespace {

using namespace loggerset;

constexpr std::int64_t kSecondsPerDay = 86400;

// The 9 characters of a field, each byte taken as the character of that code; positions
// beyond the stream count as 0.
QByteArray Field(const std::vector<std::uint8_t>& stream, std::size_t pos) {
  QByteArray f(static_cast<qsizetype>(kFieldChars), '\0');
  for (std::size_t i = 0; i < kFieldChars; ++i) {
    const std::size_t index = pos - 1 + i;
    if (index < stream.size()) f[static_cast<qsizetype>(i)] = static_cast<char>(stream[index]);
  }
  return f;
}

// L: the last non-zero byte among the last 64 positions, searched from the end; 0 when all
// of them are 0.
std::size_t LastDataPosition(const std::vector<std::uint8_t>& stream) {
  const std::size_t first = stream.size() > kEndSearch ? stream.size() - kEndSearch : 0;
  for (std::size_t i = stream.size(); i > first; --i) {
    if (stream[i - 1] != 0) return i;
  }
  return 0;
}

int TwoDigitsAt(const QString& s, int i) {
  const char16_t a = s[i].unicode();
  const char16_t b = s[i + 1].unicode();
  if (a < u'0' || a > u'9' || b < u'0' || b > u'9') return -1;
  return (a - u'0') * 10 + (b - u'0');
}

// A reading byte as shown. Control characters (TAB, CR, LF, NUL, ...) would cut or split the
// line once saved, so they show as "?".
QChar ReadingChar(std::uint8_t byte) {
  const bool control = byte < 0x20 || (byte >= 0x7F && byte < 0xA0);
  return control ? QChar(u'?') : QChar(byte);
}

void PutTwoDigits(QChar* out, int value) {
  out[0] = QChar(u'0' + value / 10);
  out[1] = QChar(u'0' + value % 10);
}

// Builds record lines one after the other; the date is converted only when the day changes,
// since neighbouring records almost always share it.
class LineWriter {
 public:
  explicit LineWriter(const LoggerStart& start) : start_(start) {}

  QString Line(std::size_t recordIndex, std::int64_t offsetSeconds, const std::uint8_t* reading) {
    QString line(kLineLength, Qt::Uninitialized);
    QChar* out = line.data();
    PutNumber(out, recordIndex + 1);
    out[10] = u'\t';
    out[11] = u' ';
    out[12] = u' ';
    PutTime(out + 13, offsetSeconds);
    out[30] = u'\t';
    out[31] = u' ';
    for (std::size_t i = 0; i < kReadingChars; ++i) out[32 + i] = ReadingChar(reading[i]);
    out[37] = u'\t';
    return line;
  }

 private:
  static constexpr qsizetype kLineLength = 38;
  // The record number right-aligned in 10 characters. A stream holds far fewer than 10^10
  // records, so the number always fits.
  static void PutNumber(QChar* out, std::size_t number) {
    int i = 9;
    do {
      out[i--] = QChar(u'0' + static_cast<char16_t>(number % 10));
      number /= 10;
    } while (number > 0 && i >= 0);
    while (i >= 0) out[i--] = u' ';
  }

  // "YYYY/MM/DD hh:nn:ss" cut to its last 17 characters: the year keeps its last two digits.
  void PutTime(QChar* out, std::int64_t offsetSeconds) {
    const std::int64_t total = start_.secondOfDay + offsetSeconds;
    std::int64_t day = total / kSecondsPerDay;
    std::int64_t second = total % kSecondsPerDay;
    if (second < 0) {
      second += kSecondsPerDay;
      --day;
    }
    if (!dateKnown_ || day != day_) {
      day_ = day;
      dateKnown_ = true;
      const QDate d = QDate::fromJulianDay(start_.julianDay + day);
      year_ = ((d.year() % 100) + 100) % 100;
      month_ = d.month();
      dayOfMonth_ = d.day();
    }
    PutTwoDigits(out, year_);
    out[2] = u'/';
    PutTwoDigits(out + 3, month_);
    out[5] = u'/';
    PutTwoDigits(out + 6, dayOfMonth_);
    out[8] = u' ';
    PutTwoDigits(out + 9, static_cast<int>(second / 3600));
    out[11] = u':';
    PutTwoDigits(out + 12, static_cast<int>(second / 60 % 60));
    out[14] = u':';
    PutTwoDigits(out + 15, static_cast<int>(second % 60));
  }

  LoggerStart start_;
  bool dateKnown_ = false;
  std::int64_t day_ = 0;
  int year_ = 0;
  int month_ = 0;
  int dayOfMonth_ = 0;
};

}  // namespace

std::uint64_t SetBlockCount(std::uint32_t setLength) {
  return (std::uint64_t{setLength} + kBlockBytes - 1) / kBlockBytes;
}

std::optional<LoggerStart> ParseLoggerStart(const QString& startText) {
  QString s = QStringLiteral("20") + startText;
  while (!s.isEmpty() && (s.back() == u' ' || s.back() == u'\0')) s.chop(1);
  // yyyy/mm/dd hh:nn:ss
  if (s.size() != 19 || s[4] != u'/' || s[7] != u'/' || s[10] != u' ' || s[13] != u':' ||
      s[16] != u':')
    return std::nullopt;
  const int year = TwoDigitsAt(s, 2);
  const int month = TwoDigitsAt(s, 5);
  const int day = TwoDigitsAt(s, 8);
  const int hour = TwoDigitsAt(s, 11);
  const int minute = TwoDigitsAt(s, 14);
  const int second = TwoDigitsAt(s, 17);
  if (year < 0 || !QDate::isValid(2000 + year, month, day) || !QTime::isValid(hour, minute, second))
    return std::nullopt;
  return LoggerStart{QDate(2000 + year, month, day).toJulianDay(),
                     hour * 3600 + minute * 60 + second};
}

std::optional<LoggerSetLines> ParseLoggerSet(const std::vector<std::uint8_t>& stream,
                                             const QString& startText) {
  if (stream.size() <= kShortestUnreadable) return std::nullopt;
  const std::optional<LoggerStart> start = ParseLoggerStart(startText);
  if (!start) return std::nullopt;

  LoggerSetLines set;
  set.intervalSeconds = LeadingUnsignedNumber(Field(stream, kIntervalPos));
  set.unit = Field(stream, kUnitPos).contains('W') ? kUnitWatts : kUnitBtu;
  set.lastDataPos = LastDataPosition(stream);
  if (set.lastDataPos < kFirstRecordPos + kEndDistance) return set;

  // Records whose first byte lies at least 40 positions before L; all of their reading
  // characters are then inside the stream.
  const std::size_t records = (set.lastDataPos - kEndDistance - kFirstRecordPos) / kRecordBytes + 1;
  set.lines.reserve(static_cast<qsizetype>(records));
  LineWriter writer(*start);
  for (std::size_t n = 0; n < records; ++n) {
    const std::int64_t offset = std::llround(static_cast<double>(n) * set.intervalSeconds);
    set.lines.append(writer.Line(n, offset, &stream[kFirstRecordPos - 1 + kRecordBytes * n]));
  }
  return set;
}

int BlockProgress(std::uint64_t block, std::uint64_t blocks) {
  return blocks == 0 ? 25 : static_cast<int>(25 * block / blocks);
}

int LineProgress(std::size_t recordIndex, std::size_t lastDataPos) {
  const std::size_t p = kFirstRecordPos + kRecordBytes * recordIndex;
  if (lastDataPos < kFirstRecordPos + kEndDistance) return 100;
  return 25 + static_cast<int>(75 * (p - 206) / (lastDataPos - 246));
}

}  // namespace solardesk
