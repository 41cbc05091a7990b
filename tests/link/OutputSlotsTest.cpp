#include <gtest/gtest.h>

#include <QStringList>

#include "link/OutputSlots.h"

namespace solardesk {
namespace {

TEST(OutputSlots, StartAsDoubleZeroCommandsAreHexAndOutOfRangeSlotsAreIgnored) {
  OutputSlots s;
  for (int i = 0; i < OutputSlots::kCount; ++i) EXPECT_EQ(s.text(i), "00");
  EXPECT_EQ(s.BuildReport(65), std::vector<std::uint8_t>(65, 0));
  int changes = 0;
  s.onChanged = [&](int) { ++changes; };
  s.set(-1, "FF");
  s.set(15, "FF");
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(s.text(15).isEmpty());
  s.setCommand(0x01, 0x0F);
  EXPECT_EQ(QStringList({s.text(0), s.text(1), s.text(2)}), QStringList({"0", "1", "F"}));
  EXPECT_EQ(s.BuildReport(65)[2], 0x0F);
}

}  // namespace
}  // namespace solardesk
