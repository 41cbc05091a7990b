#include <gtest/gtest.h>

#include "RecordingFixture.h"
#include "recording/logic/IntervalEntry.h"
#include "recording/logic/PlotSeries.h"

#include <cmath>
#include <limits>

#include "data/RecordSeries.h"

namespace solardesk {
namespace {

TEST(IntervalEntry, RoundsHalvesToEvenAndClamps) {
  const std::optional<int> none;
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"5", 5},      {"86400", 86400},  {"2.5", 2},   {"3.5", 4},    {"0", 1},
      {"-7", 1},     {"100000", 86400}, {" 12 ", 12}, {"1e3", 1000}, {"abc", none},
      {"12s", none}, {" ", none},       {"inf", none}};
  for (const auto& [entry, seconds] : cases)
    EXPECT_EQ(IntervalFromEntry(QString::fromLatin1(entry), kMaxPcInterval), seconds) << entry;
  for (const auto& [entry, seconds] : {std::pair{"75", 60}, {"60.5", 60}, {"0.5", 1}})
    EXPECT_EQ(IntervalFromEntry(QString::fromLatin1(entry), kMaxMeterInterval), seconds) << entry;
}

TEST(PlotSeries, ReadingsThatAreNoNumberBreakTheLineAndHugeOnesAreKeptInRange) {
  RecordSeries records;
  for (const char* line :
       {"         1\t2026/12/04 09:30:00\t 98.76\t", "         2\t2026/12/04 09:30:01\t ----\t",
        "         3\tno second tab", "         4\t2026/12/04 09:30:03\t1200\t",
        "         5\t2026/12/04 09:30:04\t 12abc\t",
        "         6\t2026/12/04 09:30:05\t -1.7e308\t"})
    ASSERT_TRUE(records.Append(line));
  testing::FakeLiveList window;
  ProgressPacer pacer(window);
  const std::vector<float> series = BuildPlotSeries(records, pacer);
  ASSERT_EQ(series.size(), 6u);
  EXPECT_EQ(series[0], 98.76f);
  EXPECT_TRUE(std::isnan(series[1]) && std::isnan(series[2]) && std::isnan(series[4]));
  EXPECT_EQ(series[3], 1200.0f);
  EXPECT_EQ(series[5], -std::numeric_limits<float>::max());
  // The last progress text is exact.
  EXPECT_EQ(window.caption, QStringLiteral("100% Completed"));
}

}  // namespace
}  // namespace solardesk
