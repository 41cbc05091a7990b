#include <gtest/gtest.h>

#include "RecordingFixture.h"
#include "recording/logic/IntervalEntry.h"
#include "recording/logic/PlotSeries.h"

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

TEST(PlotSeries, LeadingNumberRule) {
  const std::pair<const char*, double> cases[] = {
      {" 98.76\t", 98.76}, {"12", 12},   {"  -3.5e2x", -350}, {"1e", 1},    {"abc\t", 0}, {"", 0},
      {" .5\t", 0.5},      {"+7.\t", 7}, {"--1", 0},          {"1e999", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
}

TEST(PlotSeries, ValuesAfterTheSecondTabWithProgress) {
  LineStore entries;
  entries.append(QStringLiteral("         1\t2026/12/04 09:30:00\t 98.76\t"));
  entries.append(QStringLiteral("         2\t2026/12/04 09:30:01\t ----\t"));
  entries.append(QStringLiteral("         3\tno second tab"));
  entries.append(QStringLiteral("         4\t2026/12/04 09:30:03\t1200\t"));
  testing::FakeLiveList window;
  ProgressPacer pacer(window);
  const std::vector<float> series = BuildPlotSeries(entries, pacer);
  EXPECT_EQ(series, (std::vector<float>{98.76f, 0.0f, 0.0f, 1200.0f}));
  // The last progress text is exact.
  EXPECT_EQ(window.caption, QStringLiteral("100% Completed"));
}

}  // namespace
}  // namespace solardesk
