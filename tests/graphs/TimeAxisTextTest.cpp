#include <gtest/gtest.h>

#include <cmath>

#include "graphs/logic/TimeAxisText.h"

namespace solardesk {
namespace {

// A Central European wall clock: +01:00, and +02:00 from 2026-03-29T01:00Z to
// 2026-10-25T01:00Z.
constexpr qint64 kSpringChange = 1774746000;
constexpr qint64 kAutumnChange = 1792890000;
int Berlin(qint64 utc) {
  return utc >= kSpringChange && utc < kAutumnChange ? 7200 : 3600;
}
constexpr qint64 kHour = 3600;

struct TickCase {
  const char* name;
  double from, to;
  int maxTicks;
  std::vector<std::pair<qint64, const char*>> ticks;  // UTC seconds, label
};

TEST(TimeTicks, FallOnRoundWallClockTimesWithTheDateOnEachNewDay) {
  const qint64 marchMidnight = kSpringChange - 2 * kHour;  // 2026-03-29 00:00 at +01:00
  const qint64 weekBefore = marchMidnight - 7 * 86400;
  const qint64 octoberOne = kAutumnChange - 2 * kHour;  // 2026-10-25 01:00 at +02:00
  const TickCase cases[] = {
      {"across midnight",
       static_cast<double>(weekBefore - 2 * kHour),
       static_cast<double>(weekBefore + 2 * kHour),
       4,
       {{weekBefore - 2 * kHour, "22:00\n2026/03/21"},
        {weekBefore - kHour, "23:00"},
        {weekBefore, "00:00\n2026/03/22"},
        {weekBefore + kHour, "01:00"},
        {weekBefore + 2 * kHour, "02:00"}}},
      // 02:00 to 03:00 does not exist: 01:30 and 03:00 are half an hour apart.
      {"spring change",
       static_cast<double>(kSpringChange - 1800),
       static_cast<double>(kSpringChange + 1800),
       2,
       {{kSpringChange - 1800, "01:30\n2026/03/29"},
        {kSpringChange, "03:00"},
        {kSpringChange + 1800, "03:30"}}},
      // 02:00 comes twice; it is ticked on its first pass.
      {"autumn change",
       static_cast<double>(octoberOne),
       static_cast<double>(octoberOne + 4 * kHour),
       4,
       {{octoberOne, "01:00\n2026/10/25"},
        {octoberOne + kHour, "02:00"},
        {octoberOne + 3 * kHour, "03:00"},
        {octoberOne + 4 * kHour, "04:00"}}},
      {"seconds",
       static_cast<double>(marchMidnight + 5),
       static_cast<double>(marchMidnight + 25),
       3,
       {{marchMidnight + 10, "00:00:10\n2026/03/29"}, {marchMidnight + 20, "00:00:20"}}},
      {"days",
       static_cast<double>(marchMidnight - kHour),
       static_cast<double>(marchMidnight + 2 * 86400),
       4,
       {{marchMidnight, "2026/03/29"},
        {marchMidnight + 86400 - kHour, "2026/03/30"},
        {marchMidnight + 2 * 86400 - kHour, "2026/03/31"}}},
  };
  for (const TickCase& c : cases) {
    const std::vector<TimeTick> ticks = TimeTicks(c.from, c.to, c.maxTicks, Berlin);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.name;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      EXPECT_EQ(ticks[i].at, static_cast<double>(c.ticks[i].first)) << c.name << " " << i;
      EXPECT_EQ(ticks[i].label, QString::fromLatin1(c.ticks[i].second)) << c.name << " " << i;
    }
  }
  EXPECT_TRUE(TimeTicks(NAN, 10, 4, Berlin).empty());
}

TEST(TimeText, ShowsAndReadsTheWallClockAcrossTheChanges) {
  const struct {
    const char* text;
    std::optional<qint64> utc;
  } cases[] = {
      {"2026/03/29 01:59:59", kSpringChange - 1},    {"2026/03/29 03:00:00", kSpringChange},
      {"2026/03/29 02:30:00", std::nullopt},          // skipped by the spring change
      {"2026/10/25 02:30:00", kAutumnChange - 1800},  // its first pass
      {" 2026/07/01 12:00:00 ", 1782900000},         {"26/07/01 12:00:00", std::nullopt},
      {"2026/02/30 12:00:00", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<double> read = ParseTimeText(QString::fromLatin1(c.text), Berlin);
    ASSERT_EQ(read.has_value(), c.utc.has_value()) << c.text;
    if (!c.utc) continue;
    EXPECT_EQ(*read, static_cast<double>(*c.utc)) << c.text;
    EXPECT_EQ(TimeText(*read, Berlin), QString::fromLatin1(c.text).trimmed());
  }
  // The second pass of the repeated hour reads as such.
  EXPECT_EQ(TimeText(kAutumnChange + 1800, Berlin), QStringLiteral("2026/10/25 02:30:00"));
  EXPECT_EQ(TimeOfDayText(kAutumnChange + 1800, Berlin), QStringLiteral("02:30:00"));
  EXPECT_EQ(TimeText(NAN, Berlin), QString());
}

}  // namespace
}  // namespace solardesk
