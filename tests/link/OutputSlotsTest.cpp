#include <gtest/gtest.h>

#include "link/OutputSlots.h"

namespace solardesk {
namespace {

TEST(OutputSlots, StartAsDoubleZeroAndGiveZeroReport) {
  OutputSlots s;
  for (int i = 0; i < OutputSlots::kCount; ++i) EXPECT_EQ(s.text(i), "00");
  EXPECT_EQ(s.BuildReport(65), std::vector<std::uint8_t>(65, 0));
}

TEST(OutputSlots, CommandTextsAreHexWithoutPrefix) {
  OutputSlots s;
  s.setCommand(0x01, 0x15);
  EXPECT_EQ(s.text(0), "0");
  EXPECT_EQ(s.text(1), "1");
  EXPECT_EQ(s.text(2), "15");
  s.setCommand(0x01, 0x0F);
  EXPECT_EQ(s.text(2), "F");
  const auto r = s.BuildReport(65);
  EXPECT_EQ(r[2], 0x0F);
}

TEST(OutputSlots, UnsetSlotsKeepWhatTheLastCommandLeft) {
  OutputSlots s;
  s.setCommand(0x01, 0x15);
  s.setParameters(3, {12, 3, 4, 5, 6, 7, 12, 3, 5, 0, 0, 0});
  s.setCommand(0x01, 0x02);  // a key press afterwards
  const auto r = s.BuildReport(65);
  const std::vector<std::uint8_t> head(r.begin(), r.begin() + 15);
  EXPECT_EQ(head, (std::vector<std::uint8_t>{0, 1, 2, 12, 3, 4, 5, 6, 7, 12, 3, 5, 0, 0, 0}));
}

TEST(OutputSlots, ReportLengthDecidesHowManySlotsGoOut) {
  OutputSlots s;
  for (int i = 0; i < OutputSlots::kCount; ++i) s.set(i, QString::number(i + 1, 16));
  const auto nine = s.BuildReport(9);
  ASSERT_EQ(nine.size(), 9u);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(nine[i], i + 1);
  const auto full = s.BuildReport(65);
  ASSERT_EQ(full.size(), 65u);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(full[i], i + 1);
  for (int i = 15; i < 65; ++i) EXPECT_EQ(full[i], 0) << i;
  EXPECT_TRUE(s.BuildReport(0).empty());
}

TEST(OutputSlots, OutOfRangeSlotsAreIgnored) {
  OutputSlots s;
  int changes = 0;
  s.onChanged = [&](int) { ++changes; };
  s.set(-1, "FF");
  s.set(15, "FF");
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(s.text(15).isEmpty());
}

}  // namespace
}  // namespace solardesk
