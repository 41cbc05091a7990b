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
