#include <gtest/gtest.h>

#include "panel/logic/FrontPanelKeys.h"

namespace solardesk {
namespace {

struct TimedCase {
  KeyId key;
  float down;
  float up;
  unsigned code;
};

TEST(ReleaseCode, LongCodesStartAtTwoSecondsAndOnlyForMxMnAndMem) {
  const TimedCase cases[] = {
      {KeyId::MxMn, 100.0f, 101.9f, 0x03},
      {KeyId::MxMn, 100.0f, 102.0f, 0x0D},
      {KeyId::MxMn, 100.0f, 160.0f, 0x0D},
      {KeyId::Mem, 100.0f, 101.9f, 0x09},
      {KeyId::Mem, 100.0f, 102.0f, 0x0E},
      {KeyId::Mem, 0.0f, 0.0f, 0x09},
      // Across midnight the duration is negative: short.
      {KeyId::MxMn, 86399.0f, 3.0f, 0x03},
      {KeyId::Mem, 86398.0f, 1.0f, 0x09},
      // Other keys send their one code however long they are held.
      {KeyId::Time, 100.0f, 110.0f, 0x01},
      {KeyId::OnOff, 100.0f, 110.0f, 0x11},
      {KeyId::Read, 100.0f, 110.0f, 0x0C},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReleaseCode(c.key, c.down, c.up), c.code)
        << "key " << static_cast<int>(c.key) << " held " << c.down << " to " << c.up;
  }
}

TEST(LoggerFull, FullFrom150Sets) {
  EXPECT_FALSE(LoggerFull(0));
  EXPECT_FALSE(LoggerFull(149));
  EXPECT_TRUE(LoggerFull(150));
  EXPECT_TRUE(LoggerFull(255));
}

}  // namespace
}  // namespace solardesk
