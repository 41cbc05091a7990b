#include <gtest/gtest.h>

#include "core/Numbers.h"
#include "logger/logic/LoggerSet.h"
#include "panel/logic/DisplayDecode.h"
#include "sim/LoggerSetLayout.h"

namespace solardesk {
namespace {

// A stream of `size` zero bytes with the given texts at positions counted from 1.
std::vector<std::uint8_t> RawStream(std::size_t size,
                                    const std::vector<std::pair<std::size_t, QByteArray>>& at) {
  std::vector<std::uint8_t> s(size, 0);
  for (const auto& [pos, text] : at) {
    for (qsizetype i = 0; i < text.size(); ++i)
      s[pos - 1 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(text[i]);
  }
  return s;
}

// A set as the meter lays it out, padded to whole blocks as it arrives.
std::vector<std::uint8_t> Arrived(const QString& interval, const QString& unit,
                                  const std::vector<QString>& readings) {
  auto s = sim::LayOutLoggerSet(interval, unit, readings);
  s.resize(SetBlockCount(static_cast<std::uint32_t>(s.size())) * 64, 0);
  return s;
}

const QString kStart = QStringLiteral("12/03/04 05:06:07");

// The largest announced length does not overflow.
TEST(SetBlockCount, RoundsUpToWholeBlocks) {
  const std::pair<std::uint32_t, std::uint64_t> cases[] = {
      {0, 0}, {1, 1}, {64, 1}, {65, 2}, {128, 2}, {129, 3}, {1000, 16}, {0xFFFFFFFFu, 67108864}};
  for (const auto& [length, blocks] : cases) EXPECT_EQ(SetBlockCount(length), blocks) << length;
}

TEST(LeadingUnsignedNumber, TakesDigitsWithOnePointAfterBlanks) {
  const std::pair<const char*, double> cases[] = {
      {"000000060", 60}, {"  1.5 sec", 1.5}, {".25", 0.25}, {"1.2.3", 1.2},
      {"12s", 12},       {"abc", 0},         {"", 0},       {"-5", 0},
  };
  for (const auto& [text, value] : cases)
    EXPECT_DOUBLE_EQ(LeadingUnsignedNumber(text), value) << text;
}

TEST(LoggerSetTimes, OnlyRealStartsAreTakenAndTimesRunOverTheYearInWholeSeconds) {
  EXPECT_TRUE(ParseLoggerStart(kStart));
  EXPECT_TRUE(ParseLoggerStart(QStringLiteral("24/02/29 23:59:59")));  // a leap day
  EXPECT_TRUE(ParseLoggerStart(QString::fromLatin1("12/03/04 05:06:07  \0", 20)));
  const char* invalid[] = {
      "23/02/29 00:00:00",  // no leap year
      "12/13/01 00:00:00",  "12/00/01 00:00:00", "12/01/32 00:00:00",
      "12/01/01 24:00:00",  "12/01/01 00:60:00", "12/3/4 5:6:7",
      "12-03-04 05:06:07",  "1a/03/04 05:06:07", "",
      "12/03/04 05:06:07x",
  };
  for (const char* text : invalid)
    EXPECT_FALSE(ParseLoggerStart(QString::fromLatin1(text))) << text;
  // Whole lines of a set are the download's test; here, the times and where records are found.
  const char* const cases[][3] = {
      {"60", "12/12/31 23:59:30", "12/12/31 23:59:30, 13/01/01 00:00:30, 13/01/01 00:01:30"},
      {"0.4", "12/03/04 05:06:07", "12/03/04 05:06:07, 12/03/04 05:06:07, 12/03/04 05:06:08"},
      {"1.6 s", "99/12/31 23:59:58", "99/12/31 23:59:58, 00/01/01 00:00:00, 00/01/01 00:00:01"},
      {"000000000", "12/03/04 05:06:07", "12/03/04 05:06:07, 12/03/04 05:06:07, 12/03/04 05:06:07"},
      {"none", "12/03/04 05:06:07", "12/03/04 05:06:07, 12/03/04 05:06:07, 12/03/04 05:06:07"},
      {"86400", "24/02/28 10:00:00", "24/02/28 10:00:00, 24/02/29 10:00:00, 24/03/01 10:00:00"},
  };
  for (const auto& [interval, start, times] : cases) {
    const auto set = ParseLoggerSet(Arrived(interval, "W", {"1", "2", "3"}), start);
    ASSERT_TRUE(set) << interval;
    QStringList shown;
    for (const QString& line : set->lines) shown << line.mid(13, 17);
    EXPECT_EQ(shown.join(", "), times) << interval;
  }
}

TEST(ParseLoggerSet, TakesRecordsStartingAtLeast40PositionsBeforeTheLastData) {
  struct Case {
    std::size_t streamSize;
    std::size_t lastData;  // position of the end marker after the records
    std::size_t foundL;
    int records;
  };
  const Case cases[] = {
      {320, 264, 264, 2},      // records at 207 and 216; the one at 225 is not taken
      {256, 256, 256, 2},      // 216 lies exactly 40 before 256
      {256, 247, 247, 1},      // the first record lies exactly at L - 40
      {256, 246, 246, 0},      // too close to the end for any record
      {1024, 961, 961, 80},    // L is found at the first of the last 64 positions
      {1024, 960, 0, 0},       // non-zero data before the last 64 positions are not looked at
      {1024, 1024, 1024, 87},  // the very last position
  };
  for (const Case& c : cases) {
    std::vector<std::pair<std::size_t, QByteArray>> at{{c.lastData, "\xFF"}};
    for (std::size_t p = 207; p + 4 < c.lastData; p += 9) at.push_back({p, "00001"});
    const auto set = ParseLoggerSet(RawStream(c.streamSize, at), kStart);
    ASSERT_TRUE(set) << c.lastData;
    EXPECT_EQ(set->lines.size(), c.records) << c.lastData;
    EXPECT_EQ(set->lastDataPos, c.foundL) << c.lastData;
  }
}

TEST(ParseLoggerSet, ReadingsKeepTheirFiveCharactersAndAnAllZeroEndHoldsNoRecords) {
  // Record 1: five reading characters, then four bytes that are not shown.
  const auto stream = RawStream(320, {{207, " 9.99XYZW"}, {216, "12345"}, {264, "\x01"}});
  const auto set = ParseLoggerSet(stream, kStart);
  ASSERT_TRUE(set);
  ASSERT_EQ(set->lines.size(), 2);
  EXPECT_TRUE(set->lines[0].endsWith(QStringLiteral("\t  9.99\t")));
  EXPECT_TRUE(set->lines[1].endsWith(QStringLiteral("\t 12345\t")));
  // Without the end marker, an all-zero end holds no records.
  const auto none = ParseLoggerSet(RawStream(640, {{207, "11111"}, {216, "22222"}}), kStart);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->lastDataPos, 0u);
  EXPECT_TRUE(none->lines.isEmpty());
}

TEST(ParseLoggerSet, UnitIsWattsForACapitalWShortStreamsAndBadStartsHoldNoData) {
  const std::pair<QByteArray, QString> cases[] = {
      {"W/(M)2", kUnitWatts},   {"   W", kUnitWatts}, {"xxxxxxxxW", kUnitWatts},
      {"Btu/ft2h", kUnitBtu},   {"w/m2", kUnitBtu},   {"", kUnitBtu},
      {"xxxxxxxxxW", kUnitBtu},  // the W lies one position beyond the unit field
  };
  for (const auto& [unit, expected] : cases) {
    const auto set = ParseLoggerSet(RawStream(192, {{123, unit}}), kStart);
    ASSERT_TRUE(set) << unit.constData();
    EXPECT_EQ(set->unit, expected) << unit.constData();
  }
  EXPECT_FALSE(ParseLoggerSet({}, kStart));
  EXPECT_FALSE(ParseLoggerSet(std::vector<std::uint8_t>(131, 'W'), kStart));
  EXPECT_TRUE(ParseLoggerSet(std::vector<std::uint8_t>(132, 'W'), kStart));
  const auto full = Arrived("60", "W/(M)2", {"1", "2"});
  EXPECT_FALSE(ParseLoggerSet(full, QStringLiteral("12/02/30 05:06:07")));
  EXPECT_FALSE(ParseLoggerSet(full, QString(17, QChar(0))));
}

TEST(LoggerProgress, BlocksFillTheFirstQuarterAndLinesTheRest) {
  EXPECT_EQ(BlockProgress(0, 16), 0);
  EXPECT_EQ(BlockProgress(8, 16), 12);
  EXPECT_EQ(BlockProgress(16, 16), 25);
  // L = 264: the last taken record (216, index 1) lies 48 before it, short of 100.
  EXPECT_EQ(LineProgress(0, 264), 25 + 75 * 1 / 18);
  EXPECT_EQ(LineProgress(1, 264), 25 + 75 * 10 / 18);
  // A last record exactly at L - 40 reaches 100.
  EXPECT_EQ(LineProgress(1, 256), 100);
  EXPECT_EQ(LineProgress(0, 247), 100);
}

}  // namespace
}  // namespace solardesk
